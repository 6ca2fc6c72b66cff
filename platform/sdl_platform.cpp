#include "platform/sdl_platform.h"

#include "platform/sdl_audio.h"
#include "platform/sdl_joystick.h"
#include "platform/sdl_music.h"
#include "platform/sdl_window.h"

namespace {

constexpr int kDefaultScale = 2;

// Declared first, so SDL ends after every device that uses it is gone.
struct SdlQuitLast {
  ~SdlQuitLast() { SDL_Quit(); }
};

class SdlPlatformImpl : public SdlPlatform, public ShellDevices {
 public:
  SdlPlatformImpl(const Options& options, const Settings& run)
      : window_(run.fullScreen, options.scale.value_or(kDefaultScale), run.window ? run.window->width : 0,
                run.window ? run.window->height : 0) {
    services_.host = &window_;
    services_.presenter = &window_;
    services_.fullScreen = run.fullScreen;
    services_.openWindow = [this] { return window_.Open(); };
    // No sound device, or --mute: the game runs the same, silently.
    if (!options.mute && audio_.Open()) {
      audio_.SetVolume(run.soundVolume);
      music_.Start(run.musicVolume);
      services_.audio = &audio_;
      services_.music = &music_;
    }
    if (joystick_.Start()) services_.joystick = &joystick_;
  }
  PlatformServices& Services() override { return services_; }
  ShellDevices& Devices() override { return *this; }

  void SetVolumes(int music, int sound, bool muted) override {
    if (!services_.audio) return;
    music_.SetVolume(muted ? 0 : music);
    audio_.SetVolume(muted ? 0 : sound);
  }
  void SilenceEffects() override {
    if (services_.audio) audio_.StopAll();
  }
  void HearMusic(bool on) override {
    if (!services_.music) return;
    if (on) {
      music_.Resume();
    } else {
      music_.Pause();
    }
  }
  bool IsFullScreen() const override { return window_.IsFullScreen(); }
  std::optional<WindowSize> WindowedSize() const override {
    WindowSize size;
    if (!window_.WindowedSize(size.width, size.height)) return std::nullopt;
    return size;
  }

 private:
  SdlQuitLast quitLast_;
  SdlWindow window_;
  SdlAudio audio_;
  SdlMusic music_;
  SdlJoystick joystick_;
  PlatformServices services_;
};

}  // namespace

std::unique_ptr<SdlPlatform> CreateSdlPlatform(const Options& options, const Settings& run) {
  return std::make_unique<SdlPlatformImpl>(options, run);
}
