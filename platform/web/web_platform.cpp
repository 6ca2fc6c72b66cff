#include "platform/web/web_platform.h"

#include <emscripten.h>

namespace {
// clang-format off
EM_JS(void, SoundSetVolumes, (int effects, int music), {
  if (VelloriaSound.setVolumes) VelloriaSound.setVolumes(effects, music);
});
EM_JS(int, PageFullScreen, (), { return document.fullscreenElement ? 1 : 0; });
// clang-format on
}  // namespace

WebPlatform::WebPlatform(const Options& options) : host_(options.mute ? nullptr : &music_) {
  services_.host = &host_;
  services_.presenter = &host_;
  services_.joystick = &joystick_;
  // The loop runs from the page's animation frames.
  services_.steadyPacing = true;
  if (!options.mute) {
    services_.audio = &audio_;
    services_.music = &music_;
  }
  // A replayed session plays with the default ranking and keeps nothing, so
  // its pictures are those of a headless run whatever the browser stored.
  SetSettingsStore(options.inputFile.empty() ? static_cast<SettingsStore*>(&store_) : &noStore_);
}

WebPlatform::~WebPlatform() { SetSettingsStore(nullptr); }

void WebPlatform::SetVolumes(int music, int sound) {
  if (services_.audio) SoundSetVolumes(sound, music);
}

bool WebPlatform::IsFullScreen() const { return PageFullScreen() != 0; }
