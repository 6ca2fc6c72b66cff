#include "platform/sdl_window.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "generated/resource_ids.h"
#include "gfx/dib256.h"
#include "gfx/scale.h"
#include "platform/sdl_keymap.h"
#include "platform/sdl_music.h"

namespace {
constexpr int kWidth = 640;
constexpr int kHeight = 480;
}  // namespace

SdlWindow::SdlWindow(bool fullScreen, int scale, int width, int height)
    : fullScreen_(fullScreen), scale_(scale), windowWidth_(width), windowHeight_(height) {}

SdlWindow::~SdlWindow() {
  if (enlarged_) SDL_DestroyTexture(enlarged_);
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlWindow::Open() {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    std::fprintf(stderr, "velloria: %s\n", SDL_GetError());
    return false;
  }
  videoStarted_ = true;
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  // The frame pacer keeps time; presenting never waits for the display.
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  FitSizeToDesktop();
  Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE | (fullScreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  // Full screen starts as large as the display: without a window manager
  // nobody enlarges the window, and it must still cover the screen.
  SDL_Rect area{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowWidth_, windowHeight_};
  if (fullScreen_) SDL_GetDisplayBounds(0, &area);
  window_ = SDL_CreateWindow("Velloria", area.x, area.y, area.w, area.h, flags);
  if (!window_) {
    std::fprintf(stderr, "velloria: %s\n", SDL_GetError());
    return false;
  }
  SDL_SetWindowMinimumSize(window_, kWidth, kHeight);
  ShowCursor(cursorShown_);
  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
  if (!renderer_ && OpenWindowSurface()) {
    SetIcon();
    return true;
  }
  if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (!renderer_) {
    std::fprintf(stderr, "velloria: %s\n", SDL_GetError());
    return false;
  }
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight);
  if (!texture_) {
    std::fprintf(stderr, "velloria: %s\n", SDL_GetError());
    return false;
  }
  SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
  SetIcon();
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderPresent(renderer_);
  return true;
}

bool SdlWindow::Translate(const SDL_Event& in, HostEvent& out) {
  // The end of a tune's play, posted from the audio thread.
  if (SdlMusic::IsEndOfPlay(in)) {
    out = {HostEventType::MusicFinished};
    return true;
  }
  switch (in.type) {
    case SDL_QUIT:
      out = {HostEventType::Quit};
      return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      bool down = in.type == SDL_KEYDOWN;
      // Auto-repeat would toggle pause and speed over and over.
      if (down && in.key.repeat) return false;
      if (down && in.key.keysym.scancode == SDL_SCANCODE_RETURN && (in.key.keysym.mod & KMOD_ALT)) {
        out = {HostEventType::ToggleFullScreen};
        return true;
      }
      int code = GameKeyFromScancode(in.key.keysym.scancode);
      if (code < 0) return false;
      out = {down ? HostEventType::KeyDown : HostEventType::KeyUp, code};
      return true;
    }
    case SDL_WINDOWEVENT:
      switch (in.window.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
          out = {HostEventType::FocusLost};
          return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          out = {HostEventType::FocusGained};
          return true;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          KeepMinimumSize(in.window.data1, in.window.data2);
          out = {HostEventType::Expose};
          return true;
        case SDL_WINDOWEVENT_EXPOSED:
          out = {HostEventType::Expose};
          return true;
        default:
          return false;
      }
    default:
      return false;
  }
}

bool SdlWindow::PollEvent(HostEvent& event) {
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    if (Translate(e, event)) return true;
  }
  return false;
}

void SdlWindow::WaitEvent(int timeoutMs) {
  // A plain sleep: SDL's own wait polls every millisecond on some video
  // drivers. Keys are read once per frame anyway, so an event that arrives
  // while we sleep loses nothing; while paused we look again every 20 ms.
  constexpr int kPausedPollMs = 20;
  constexpr int kLongestSleepMs = 40;
  SDL_PumpEvents();
  if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) return;
  int ms = timeoutMs < 0 ? kPausedPollMs : std::min(timeoutMs, kLongestSleepMs);
  if (ms > 0) SDL_Delay(static_cast<Uint32>(ms));
}

void SdlWindow::SetIcon() {
  // The witch's head from bitmap 102, its key colour transparent.
  NDib256 icon(bitmap::kWindowIcon);
  if (icon.IsEmpty()) return;
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormat(0, icon.GetWidth(), icon.GetHeight(), 8, SDL_PIXELFORMAT_INDEX8);
  if (!surface) return;
  SDL_Color colors[256];
  PaletteEntry table[256];
  icon.GetPalette(0, 256, table);
  for (int i = 0; i < 256; ++i) colors[i] = {table[i].red, table[i].green, table[i].blue, 255};
  SDL_SetPaletteColors(surface->format->palette, colors, 0, 256);
  for (int y = 0; y < icon.GetHeight(); ++y) {
    auto* row = static_cast<uint8_t*>(surface->pixels) + y * surface->pitch;
    for (int x = 0; x < icon.GetWidth(); ++x) row[x] = icon.PixelAt(x, y);
  }
  SDL_SetColorKey(surface, SDL_TRUE, icon.PixelAt(0, 0));
  SDL_SetWindowIcon(window_, surface);
  SDL_FreeSurface(surface);
}

void SdlWindow::ShowCursor(bool show) {
  cursorShown_ = show;
  // Hiding works on a window that exists; before that SDL forgets it.
  if (window_) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void SdlWindow::SetTitle(const char* title) {
  if (window_) SDL_SetWindowTitle(window_, title);
}

void SdlWindow::FitSizeToDesktop() {
  SDL_Rect usable;
  bool known = SDL_GetDisplayUsableBounds(0, &usable) == 0;
  if (windowWidth_ > 0 && windowHeight_ > 0) {
    // A size the player left the window at: kept, as far as the desktop
    // has room now.
    if (known) {
      windowWidth_ = std::max(kWidth, std::min(windowWidth_, usable.w));
      windowHeight_ = std::max(kHeight, std::min(windowHeight_, usable.h));
    }
    return;
  }
  int fitted = known ? FitScale(scale_, kWidth, kHeight, usable.w, usable.h) : scale_;
  // Full screen uses the scale only when switched to a window: no word then.
  if (fitted != scale_ && !fullScreen_)
    std::fprintf(stderr, "velloria: a window at scale %d does not fit the desktop (%dx%d); using scale %d\n", scale_,
                 usable.w, usable.h, fitted);
  scale_ = fitted;
  windowWidth_ = kWidth * scale_;
  windowHeight_ = kHeight * scale_;
}

void SdlWindow::KeepMinimumSize(int width, int height) {
  // A window manager keeps the minimum size the window asked for; without
  // one the window is made large enough again.
  if (fullScreen_ || (width >= kWidth && height >= kHeight)) return;
  SDL_SetWindowSize(window_, std::max(width, kWidth), std::max(height, kHeight));
}

bool SdlWindow::WindowedSize(int& width, int& height) const {
  if (!window_ || fullScreen_) return false;
  SDL_GetWindowSize(window_, &width, &height);
  return true;
}

void SdlWindow::CoverDisplay() {
  SDL_Rect bounds;
  if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &bounds) != 0) return;
  SDL_SetWindowPosition(window_, bounds.x, bounds.y);
  SDL_SetWindowSize(window_, bounds.w, bounds.h);
}

void SdlWindow::HideWindow() {
  if (window_) SDL_HideWindow(window_);
}

void SdlWindow::ShowMessage(const char* caption, const char* text) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text, nullptr);
}

void SdlWindow::ToggleFullScreen() {
  if (!window_) return;
  if (!fullScreen_) {
    // The size to come back to.
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    if (w >= kWidth && h >= kHeight) {
      windowWidth_ = w;
      windowHeight_ = h;
    }
  }
  fullScreen_ = !fullScreen_;
  if (fullScreen_) {
    // As at the start: the window itself covers the display first, for a
    // desktop without a window manager.
    CoverDisplay();
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
  } else {
    SDL_SetWindowFullscreen(window_, 0);
    SDL_SetWindowSize(window_, windowWidth_, windowHeight_);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
  PresentLast();
}

bool SdlWindow::OpenWindowSurface() {
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  // Written as 32-bit pixels, red in bits 16..23; any other layout goes
  // through the software renderer instead.
  if (!surface ||
      (surface->format->format != SDL_PIXELFORMAT_RGB888 && surface->format->format != SDL_PIXELFORMAT_ARGB8888)) {
    return false;
  }
  useWindowSurface_ = true;
  SDL_FillRect(surface, nullptr, 0);
  SDL_UpdateWindowSurface(window_);
  return true;
}

void SdlWindow::PresentToWindowSurface() {
  // Fetched every time: a new size gives the window a new surface.
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (!surface) return;
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
  auto* pixels = static_cast<uint32_t*>(surface->pixels);
  int pitch = surface->pitch / static_cast<int>(sizeof(uint32_t));
  const PictureRect fit = FitPicture(kWidth, kHeight, surface->w, surface->h);
  if (!lastPicture_) {
    SDL_FillRect(surface, nullptr, 0);
    borderedPixels_ = nullptr;
  } else if (ChosenFit(fit_, kWidth, kHeight, surface->w, surface->h) == Fit::Fill) {
    ConvertAndFill(*lastPicture_, lastPalette_, pixels, surface->w, surface->h, pitch, overlay_);
    borderedPixels_ = nullptr;
  } else if (fit.left < 0 || fit.top < 0) {
    // Smaller than the picture: its middle part, cropped.
    ConvertAndScale(*lastPicture_, lastPalette_, pixels, surface->w, surface->h, pitch, overlay_);
    borderedPixels_ = nullptr;
  } else {
    if (borderedPixels_ != surface->pixels || borderedWidth_ != surface->w || borderedHeight_ != surface->h) {
      SDL_FillRect(surface, nullptr, 0);
      borderedPixels_ = surface->pixels;
      borderedWidth_ = surface->w;
      borderedHeight_ = surface->h;
    }
    ConvertAndScale(*lastPicture_, lastPalette_, pixels + static_cast<ptrdiff_t>(fit.top) * pitch + fit.left,
                    kWidth * fit.factor, kHeight * fit.factor, pitch, overlay_);
  }
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  SDL_UpdateWindowSurface(window_);
}

void SdlWindow::Present(const Surface& back, const Palette& palette) {
  // Kept for a repaint after an expose, a change of size or of the overlay.
  lastPicture_ = back;
  lastPalette_ = palette;
  Upload();
  PresentLast();
}

void SdlWindow::SetOverlay(const OverlayView& overlay) {
  overlay_ = overlay;
  if (!lastPicture_) return;
  Upload();
  PresentLast();
}

void SdlWindow::SetFit(Fit fit) {
  fit_ = fit;
  borderedPixels_ = nullptr;
  PresentLast();
}

void SdlWindow::Upload() {
  if (useWindowSurface_ || !texture_ || !lastPicture_) return;
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) != 0) return;
  // The texture has the picture's own size: the colours are converted here
  // (the overlay laid on) and the renderer enlarges it in PresentLast.
  ConvertAndScale(*lastPicture_, lastPalette_, static_cast<uint32_t*>(pixels), kWidth, kHeight,
                  pitch / static_cast<int>(sizeof(uint32_t)), overlay_);
  SDL_UnlockTexture(texture_);
  havePicture_ = true;
}

void SdlWindow::CopyFilled(int outWidth, int outHeight) {
  const Placement p = PlacePicture(kWidth, kHeight, outWidth, outHeight, fit_);
  SDL_Rect dest{p.left, p.top, p.width, p.height};
  bool smooth = ChosenFit(fit_, kWidth, kHeight, outWidth, outHeight) == Fit::Fill && p.width != kWidth * p.factor &&
                SDL_RenderTargetSupported(renderer_);
  if (smooth && enlargedFactor_ != p.factor) {
    if (enlarged_) SDL_DestroyTexture(enlarged_);
    enlarged_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, kWidth * p.factor,
                                  kHeight * p.factor);
    enlargedFactor_ = enlarged_ ? p.factor : 0;
    if (enlarged_) SDL_SetTextureScaleMode(enlarged_, SDL_ScaleModeLinear);
  }
  if (!smooth || !enlarged_ || SDL_SetRenderTarget(renderer_, enlarged_) != 0) {
    SDL_RenderCopy(renderer_, texture_, nullptr, &dest);
    return;
  }
  // Nearest to the whole factor, then smoothly to the place.
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_SetRenderTarget(renderer_, nullptr);
  SDL_RenderCopy(renderer_, enlarged_, nullptr, &dest);
}

void SdlWindow::PresentLast() {
  if (useWindowSurface_) {
    PresentToWindowSurface();
    return;
  }
  if (!renderer_) return;
  // Asked every time: the window's real size may have changed (a resize,
  // full screen, a window manager that came or went).
  int w = 0;
  int h = 0;
  SDL_GetRendererOutputSize(renderer_, &w, &h);
  SDL_RenderClear(renderer_);
  if (havePicture_) CopyFilled(w, h);
  SDL_RenderPresent(renderer_);
}
