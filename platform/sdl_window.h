#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <optional>

#include "app/host.h"
#include "gfx/presenter.h"

// The game's window: events in, pictures out. The 640x480 8-bit picture
// (under the shell's overlay) is turned into colour through the palette and
// enlarged to fit the window as it really is: by the largest whole factor,
// nearest-neighbour, centred on black, or at Fit::Fill as large as fits,
// first by a whole factor and then smoothly. The window can be resized but
// never below the picture's own size, also without a window manager; its
// first size never exceeds the desktop's usable area, and it keeps its size
// through full screen and back.
class SdlWindow : public Host, public Presenter {
 public:
  // size: the window's size as a window (width, height; 0: scale times the
  // picture, lowered to fit the desktop).
  SdlWindow(bool fullScreen, int scale, int width = 0, int height = 0);
  ~SdlWindow() override;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  // Starts SDL's video and opens the window; false on failure.
  bool Open();

  bool PollEvent(HostEvent& event) override;
  void WaitEvent(int timeoutMs) override;
  uint32_t NowMs() override { return SDL_GetTicks(); }
  void ShowCursor(bool show) override;
  void HideWindow() override;
  void ShowMessage(const char* caption, const char* text) override;
  void ToggleFullScreen() override;
  void SetTitle(const char* title) override;

  void Present(const Surface& back, const Palette& palette) override;
  void SetOverlay(const OverlayView& overlay) override;
  void SetFit(Fit fit) override;

  bool IsFullScreen() const { return fullScreen_; }
  // The window's size while it is a window; false in full screen.
  bool WindowedSize(int& width, int& height) const;

 private:
  bool Translate(const SDL_Event& in, HostEvent& out);
  void KeepMinimumSize(int width, int height);
  void Upload();
  void PresentLast();
  void CopyFilled(int outWidth, int outHeight);
  bool OpenWindowSurface();
  void PresentToWindowSurface();
  void SetIcon();
  void FitSizeToDesktop();
  void CoverDisplay();

  bool fullScreen_;
  int scale_;
  // The size as a window, kept while full screen for the way back.
  int windowWidth_;
  int windowHeight_;
  bool videoStarted_ = false;
  // Asked for before the window exists too; applied once it does.
  bool cursorShown_ = true;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  // Fit::Fill's first step: the picture enlarged by a whole factor, drawn
  // smoothly from there.
  SDL_Texture* enlarged_ = nullptr;
  int enlargedFactor_ = 0;
  bool havePicture_ = false;
  // Without an accelerated renderer (the dummy driver, a plain X server) the
  // picture is converted and enlarged straight into the window's own
  // surface: a software renderer would clear, copy and scale it once more.
  bool useWindowSurface_ = false;
  // Kept for a repaint: after an expose, a change of size, a new overlay.
  std::optional<Surface> lastPicture_;
  Palette lastPalette_{};
  OverlayView overlay_;
  Fit fit_ = Fit::Auto;
  // The surface whose black borders are already drawn; they never change,
  // so each frame writes only the enlarged picture.
  const void* borderedPixels_ = nullptr;
  int borderedWidth_ = 0;
  int borderedHeight_ = 0;
};
