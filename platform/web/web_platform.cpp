#include "platform/web/web_platform.h"

#include <emscripten.h>

namespace {
// clang-format off
EM_JS(void, SoundSetVolumes, (int effects, int music), { VelloriaSound.setVolumes(effects, music); });
EM_JS(void, PageSetMuted, (int muted), { VelloriaPage.setMuted(muted !== 0); });
EM_JS(void, SoundStopEffects, (), { VelloriaSound.stopEffects(); });
EM_JS(int, PageFullScreen, (), { return document.fullscreenElement ? 1 : 0; });
// clang-format on
}  // namespace

WebPlatform::WebPlatform(const Options& options)
    : host_(options.mute || options.headless ? nullptr : &music_, options.headless), headless_(options.headless) {
  services_.host = &host_;
  services_.presenter = &host_;
  services_.joystick = options.headless ? nullptr : &joystick_;
  // The loop runs from the page's animation frames.
  services_.steadyPacing = true;
  // A headless run is silent, as on the desktop.
  if (!options.mute && !options.headless) {
    services_.audio = &audio_;
    services_.music = &music_;
  }
  // A replayed session plays with the default ranking and settings and keeps
  // nothing, so its pictures are those of a headless run whatever the
  // browser stored.
  SetSettingsStore(options.inputFile.empty() ? static_cast<SettingsStore*>(&store_) : &noStore_);
}

WebPlatform::~WebPlatform() { SetSettingsStore(nullptr); }

// The run's volumes come from the shell, the command line's over the
// player's. Mute is the page's too: its sound button shows the setting (a
// headless run reads no settings, so it leaves the button as it is).
void WebPlatform::SetVolumes(int music, int sound, bool muted) {
  if (services_.audio) SoundSetVolumes(sound, music);
  if (!headless_) PageSetMuted(muted ? 1 : 0);
}

void WebPlatform::HearMusic(bool on) {
  if (!services_.music) return;
  if (on) {
    music_.Resume();
  } else {
    music_.Pause();
  }
}

void WebPlatform::SilenceEffects() {
  if (services_.audio) SoundStopEffects();
}

bool WebPlatform::IsFullScreen() const { return PageFullScreen() != 0; }
