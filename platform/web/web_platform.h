#pragma once

#include "app/application.h"
#include "app/options.h"
#include "platform/web/web_audio.h"
#include "platform/web/web_host.h"
#include "platform/web/web_joystick.h"
#include "platform/web/web_music.h"
#include "platform/web/web_settings_store.h"
#include "shell/shell_devices.h"

// The live platform in a browser page: canvas, keys and focus, Web Audio
// effects and tunes, the Gamepad API and localStorage for the ranking and
// the settings.
class WebPlatform : public ShellDevices {
 public:
  explicit WebPlatform(const Options& options);
  ~WebPlatform();
  WebPlatform(const WebPlatform&) = delete;
  WebPlatform& operator=(const WebPlatform&) = delete;

  PlatformServices& Services() { return services_; }
  WebHost& Host() { return host_; }

  void SetVolumes(int music, int sound, bool muted) override;
  void HearMusic(bool on) override;
  void SilenceEffects() override;
  bool IsFullScreen() const override;

 private:
  WebMusic music_;
  WebAudio audio_;
  WebJoystick joystick_;
  WebHost host_;
  WebSettingsStore store_;
  NoSettingsStore noStore_;
  PlatformServices services_;
  bool headless_;
};
