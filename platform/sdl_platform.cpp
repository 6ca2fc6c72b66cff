#include "platform/sdl_platform.h"

#include "platform/sdl_audio.h"
#include "platform/sdl_joystick.h"
#include "platform/sdl_music.h"
#include "platform/sdl_window.h"

namespace {

// Declared first, so SDL ends after every device that uses it is gone.
struct SdlQuitLast {
  ~SdlQuitLast() { SDL_Quit(); }
};

class SdlPlatformImpl : public SdlPlatform {
 public:
  explicit SdlPlatformImpl(const Options& options) : window_(!options.window, options.scale) {
    services_.host = &window_;
    services_.presenter = &window_;
    services_.fullScreen = !options.window;
    services_.openWindow = [this] { return window_.Open(); };
    // No sound device, or --mute: the game runs the same, silently.
    if (!options.mute && audio_.Open()) {
      audio_.SetVolume(options.soundVolume);
      music_.Start(options.musicVolume);
      services_.audio = &audio_;
      services_.music = &music_;
    }
    if (joystick_.Start()) services_.joystick = &joystick_;
  }
  PlatformServices& Services() override { return services_; }

 private:
  SdlQuitLast quitLast_;
  SdlWindow window_;
  SdlAudio audio_;
  SdlMusic music_;
  SdlJoystick joystick_;
  PlatformServices services_;
};

}  // namespace

std::unique_ptr<SdlPlatform> CreateSdlPlatform(const Options& options) {
  return std::make_unique<SdlPlatformImpl>(options);
}
