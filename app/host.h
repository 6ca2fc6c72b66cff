#pragma once

#include <cstdint>
#include <string>

// What the main loop needs of the window system. The platform layer
// implements it with a real window; headless runs use HeadlessHost.
enum class HostEventType {
  Quit,     // the window's close button
  KeyDown,  // key: the key code
  KeyUp,
  FocusLost,  // the program was switched away from
  FocusGained,
  Expose,         // the window needs its picture again
  MusicFinished,  // a tune played to its end
  ToggleFullScreen,
  Screenshot,
};

struct HostEvent {
  HostEventType type = HostEventType::Quit;
  int key = 0;
  // The key is the game's own already (a page's touch button sends the
  // game's keys): the player's bindings leave it as it is.
  bool gameKey = false;
};

class Host {
 public:
  virtual ~Host() = default;
  // Takes the next waiting event without blocking.
  virtual bool PollEvent(HostEvent& event) = 0;
  // Blocks until an event waits or timeoutMs passed (a negative timeout waits
  // for an event however long it takes).
  virtual void WaitEvent(int timeoutMs) = 0;
  virtual uint32_t NowMs() = 0;
  virtual void ShowCursor(bool show) = 0;
  virtual void HideWindow() = 0;
  virtual void ShowMessage(const char* caption, const char* text) = 0;
  virtual void ToggleFullScreen() {}
  // The window's caption.
  virtual void SetTitle(const char* /*title*/) {}
  // F12 saved the picture at path (full).
  virtual void ScreenshotSaved(const std::string& /*path*/) {}
};
