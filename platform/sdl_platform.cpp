#include "platform/sdl_platform.h"

#include "platform/sdl_window.h"

namespace {

class SdlPlatformImpl : public SdlPlatform {
 public:
  explicit SdlPlatformImpl(const Options& options) : window_(!options.window, options.scale) {
    services_.host = &window_;
    services_.presenter = &window_;
    services_.fullScreen = !options.window;
    services_.openWindow = [this] { return window_.Open(); };
  }
  ~SdlPlatformImpl() override { SDL_Quit(); }
  PlatformServices& Services() override { return services_; }

 private:
  SdlWindow window_;
  PlatformServices services_;
};

}  // namespace

std::unique_ptr<SdlPlatform> CreateSdlPlatform(const Options& options) {
  return std::make_unique<SdlPlatformImpl>(options);
}
