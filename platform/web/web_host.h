#pragma once

#include <emscripten/html5.h>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/host.h"
#include "gfx/presenter.h"

class WebMusic;

// The game's canvas on the page: keys, focus and the page's visibility in,
// pictures out. The page (page.js) sizes the 640x480 canvas by CSS, owns
// full screen and tells which of its elements count as the game's (the
// canvas and the name entry's text field); a key or click on the canvas
// also lets the sound start. The touch controls send the same keyboard
// events the keys do.
// The page's touch buttons are sending their key: the game's own.
void SetPageButtonKeys(bool on);

class WebHost : public Host, public Presenter {
 public:
  // music (may be null) reports the end of a tune's play through PollEvent.
  // A headless run delivers no events of the page (its keys and focus would
  // make the run differ from the desktop's) and shows only the last picture
  // of each batch of frames.
  WebHost(WebMusic* music, bool headless);
  ~WebHost() override;
  WebHost(const WebHost&) = delete;
  WebHost& operator=(const WebHost&) = delete;

  // Called whenever an event comes: a page in the background gets no
  // animation frames, yet its game must pause (and its music stop) at once,
  // and a loop that stopped while paused starts again.
  void OnEvent(std::function<void()> wake) { wake_ = std::move(wake); }
  // From the page: whether one of the game's elements has the focus.
  void SetGameFocused(bool focused);
  void ShowLastPicture();

  bool PollEvent(HostEvent& event) override;
  // The page runs the loop from its animation frames and never waits.
  void WaitEvent(int) override {}
  uint32_t NowMs() override;
  void ShowCursor(bool show) override;
  void HideWindow() override;
  void ShowMessage(const char* caption, const char* text) override;
  void ToggleFullScreen() override;
  void SetTitle(const char* title) override;

  void Present(const Surface& back, const Palette& palette) override;
  void SetOverlay(const OverlayView& overlay) override;
  // The page sizes the canvas; it hears of the player's fit (its own Fill
  // button changes the setting, which comes back here).
  void SetFit(Fit fit) override;

 private:
  static EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void* self);
  static EM_BOOL OnVisibility(int type, const EmscriptenVisibilityChangeEvent* event, void* self);
  static EM_BOOL OnMouseDown(int type, const EmscriptenMouseEvent* event, void* self);
  void Push(HostEvent event);
  // The game has focus while one of its elements has it on a visible page.
  void UpdateFocus();
  void Show(const Surface& back, const Palette& palette);

  WebMusic* music_;
  std::deque<HostEvent> events_;
  // The game's key sent for each key held down, by its place: the key that
  // goes up is the one that went down, whatever the character it makes now.
  std::map<std::string, int> held_;
  bool gameFocused_ = true;
  bool pageVisible_ = true;
  bool focused_ = true;
  bool headless_ = false;
  const Surface* lastBack_ = nullptr;
  const Palette* lastPalette_ = nullptr;
  std::function<void()> wake_;
  // The shell's layer over the picture, and a row of the two mixed.
  OverlayView overlay_;
  std::vector<uint8_t> mixed_;
  // The picture last handed to the page: its indices, colours and palette.
  std::vector<uint8_t> shown_;
  std::vector<uint32_t> rgba_;
  std::vector<uint32_t> line_;  // a row's colours, the overlay laid on
  bool dimmedLast_ = false;     // the last picture shown was dimmed
  std::array<uint32_t, 256> colours_{};
};
