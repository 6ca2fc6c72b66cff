#pragma once

#include <optional>
#include <vector>

#include "app/host.h"

struct AppBlock;

// No run lost to a stray key: Escape in a game (from GET READY to the end
// of the name entry) or on the continue screen holds the game and asks
// first; elsewhere it quits at once. A quit during the name entry, asked or
// by the window's close button, first finishes the entry with the name typed
// so far, so the result is kept, and ends the program once the game has
// kept it. The question holds the game as the options do, with the focus
// pair the loop records, so a session replays the same without the shell.
class QuitQuestion {
 public:
  // Whether Escape here asks: a game or the continue screen.
  static bool InRun(const AppBlock& app);
  // Whether the game's name entry is taking a name.
  static bool TypingName(const AppBlock& app);

  bool Asking() const { return asking_; }
  // The question or a quit on its way holds the game: focus changes stay
  // with the shell until it is over.
  bool HoldsGame() const { return asking_ || quitAfterEntry_.has_value(); }

  // Escape went down outside the options (confirm: the player's CONFIRM
  // QUIT). Returns what the game is to get.
  std::vector<HostEvent> Escape(const AppBlock& app, bool confirm);
  // Any other key or button while asking: the question goes and the game
  // goes on as it was (focused: whether the window has the focus).
  std::vector<HostEvent> PlayOn(bool focused);
  // The window's close button: quits at once, but keeps a name being typed.
  std::vector<HostEvent> Close(const AppBlock& app);
  // Before each look for events: the quit that waited for the entry to be
  // kept, once the game has left the name entry.
  std::vector<HostEvent> Look(const AppBlock& app);

 private:
  std::vector<HostEvent> Leave(const AppBlock& app, const HostEvent& quit);

  bool asking_ = false;
  bool pausedByQuestion_ = false;
  std::optional<HostEvent> quitAfterEntry_;
};
