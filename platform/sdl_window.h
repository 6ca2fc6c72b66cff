#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <optional>

#include "app/host.h"
#include "gfx/presenter.h"

// The game's window: events in, pictures out. The 640x480 8-bit picture is
// turned into colour through the palette and scaled by the largest whole
// factor that fits the window as it really is, nearest-neighbour, centred on
// black. The window can be resized; its first size never exceeds the
// desktop's usable area.
class SdlWindow : public Host, public Presenter {
 public:
  SdlWindow(bool fullScreen, int scale);
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

 private:
  bool Translate(const SDL_Event& in, HostEvent& out);
  void PresentLast();
  bool OpenWindowSurface();
  void PresentToWindowSurface();
  void SetIcon();
  void FitScaleToDesktop();
  void CoverDisplay();

  bool fullScreen_;
  int scale_;
  bool videoStarted_ = false;
  // Asked for before the window exists too; applied once it does.
  bool cursorShown_ = true;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  bool havePicture_ = false;
  // Without an accelerated renderer (the dummy driver, a plain X server) the
  // picture is converted and enlarged straight into the window's own
  // surface: a software renderer would clear, copy and scale it once more.
  bool useWindowSurface_ = false;
  std::optional<Surface> lastPicture_;
  // The surface whose black borders are already drawn; they never change,
  // so each frame writes only the enlarged picture.
  const void* borderedPixels_ = nullptr;
  int borderedWidth_ = 0;
  int borderedHeight_ = 0;
  Palette lastPalette_{};
};
