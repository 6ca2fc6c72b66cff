#pragma once

#include <optional>
#include <string>

#include "shell/bindings.h"

// One key, one meaning: a key (or a pad button) never stands for two
// actions that act in the same place (ActTogether). Actions that never do
// may share one, as fire (in play) and confirm (in the menus) share Space.

// Gives the key to the action, or takes it away when the action has it; a
// key another action holds where this one acts too is moved from it. Says
// what happened in the player's words ("S MOVED FROM DOWN TO FAST", and
// when that leaves the other without a key, "- DOWN HAS NO KEY"). Refused,
// leaving the bindings as they were: a reserved key, taking an action's
// last key away (fire's and confirm's last button, which a pad player needs).
std::string BindKey(Bindings& bindings, Action action, int key);
// The same for a pad button. Back stays the options' and the directions
// are the stick's.
std::string BindButton(Bindings& bindings, Action action, int button);

// A pad button as the player sees it: PAD A, PAD START, PAD 9.
std::string PadButtonName(int button);
// The first button of a list by its face name alone (A, START), or
// fallback when the list is empty.
std::string FirstButtonName(const std::vector<int>& buttons, const std::string& fallback);
