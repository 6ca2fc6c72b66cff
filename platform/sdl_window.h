#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>

#include "app/host.h"
#include "gfx/presenter.h"

// The game's window: events in, pictures out. The 640x480 8-bit picture is
// turned into colour through the palette and scaled by the largest whole
// factor that fits, nearest-neighbour, centred on black.
class SdlWindow : public Host, public Presenter {
 public:
  SdlWindow(bool fullScreen, int scale);
  ~SdlWindow() override;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  // Starts SDL's video and opens the window; false on failure.
  bool Open();
  bool IsFullScreenMode() const { return fullScreen_; }

  bool PollEvent(HostEvent& event) override;
  void WaitEvent(int timeoutMs) override;
  uint32_t NowMs() override { return SDL_GetTicks(); }
  void ShowCursor(bool show) override;
  void HideWindow() override;
  void ShowMessage(const char* caption, const char* text) override;
  void ToggleFullScreen() override;

  void Present(const Surface& back, const Palette& palette) override;

 private:
  bool Translate(const SDL_Event& in, HostEvent& out);
  void PresentLast();
  void SetIcon();

  bool fullScreen_;
  int scale_;
  bool videoStarted_ = false;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  bool havePicture_ = false;
};
