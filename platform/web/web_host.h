#pragma once

#include <emscripten/html5.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "app/host.h"
#include "gfx/presenter.h"

class WebMusic;

// The game's canvas on the page: keys, focus and the page's visibility in,
// pictures out. The page (page.js) scales the 640x480 canvas by CSS and owns
// full screen; a key or click on the canvas also lets the sound start.
class WebHost : public Host, public Presenter {
 public:
  // music (may be null) reports the end of a tune's play through PollEvent.
  explicit WebHost(WebMusic* music);
  ~WebHost() override;
  WebHost(const WebHost&) = delete;
  WebHost& operator=(const WebHost&) = delete;

  // Called after a change of focus: a page in the background gets no
  // animation frames, yet its game must pause (and its music stop) at once.
  void OnFocusChange(std::function<void()> wake) { wake_ = std::move(wake); }

  bool PollEvent(HostEvent& event) override;
  // The page runs the loop from its animation frames and never waits.
  void WaitEvent(int) override {}
  uint32_t NowMs() override;
  void ShowCursor(bool show) override;
  void HideWindow() override;
  void ShowMessage(const char* caption, const char* text) override;
  void ToggleFullScreen() override;

  void Present(const Surface& back, const Palette& palette) override;
  void SetOverlay(const OverlayView& overlay) override;
  // The page sizes the canvas; it hears of the player's fit.
  void SetFit(Fit fit) override;

 private:
  static EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void* self);
  static EM_BOOL OnFocus(int type, const EmscriptenFocusEvent* event, void* self);
  static EM_BOOL OnVisibility(int type, const EmscriptenVisibilityChangeEvent* event, void* self);
  static EM_BOOL OnMouseDown(int type, const EmscriptenMouseEvent* event, void* self);
  // The game has focus while the canvas has it on a visible page.
  void UpdateFocus();
  // The last picture under the overlay on the canvas.
  void Show();

  WebMusic* music_;
  std::deque<HostEvent> events_;
  bool canvasFocused_ = true;
  bool pageVisible_ = true;
  bool focused_ = true;
  std::function<void()> wake_;
  // The picture last shown, to show again under a new overlay.
  const Surface* lastBack_ = nullptr;
  Palette lastPalette_{};
  OverlayView overlay_;
  std::vector<uint32_t> rgba_;
};
