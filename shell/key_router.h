#pragma once

#include <map>
#include <optional>

#include "shell/bindings.h"
#include "shell/options_menu.h"

// The player's keys on their way to the game. A key going down becomes the
// game's key its bindings give (or none), and going up it lets go of that
// same key, whatever changed in between: a fire key pressed in play and let
// go in the name entry releases Space, not its letter.
class KeyRouter {
 public:
  // The game's key for a key going down; -1: the game gets none.
  int Down(const Bindings& bindings, int key, bool typing, Where where);
  // A key going down that is the game's own already: it goes as it is.
  int Pass(int key) { return held_[key] = key; }
  // A key going down that the shell keeps for itself (the options' keys).
  void Keep(int key) { held_[key] = -1; }
  // The game's key for a key going up; -1: none.
  int Up(const Bindings& bindings, int key, bool typing, Where where);

 private:
  std::map<int, int> held_;
};

// What a key does in the open options: the arrows and Enter always, the
// player's keys for the four directions, fire and confirm as well; Escape
// closes them. Nothing for any other key.
std::optional<MenuInput> MenuInputFor(const Bindings& bindings, int key);
