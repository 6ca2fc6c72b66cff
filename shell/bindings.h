#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input/joystick.h"

// The game's actions, each of which the player may give keys of their own.
enum class Action { Left, Right, Up, Down, Fire, Confirm, Pause, Fast };
constexpr int kActionCount = 8;
constexpr std::array<Action, kActionCount> kActions = {Action::Left, Action::Right,   Action::Up,    Action::Down,
                                                       Action::Fire, Action::Confirm, Action::Pause, Action::Fast};

// Where an action acts: in play (a game in progress) or in the menus
// (title, ranking, continue, ending). Two actions that never act in the
// same place may share a key: fire and confirm share Space.
enum class Where { Play, Menus };
bool ActsIn(Action action, Where where);
bool ActTogether(Action a, Action b);

// "fire": the name in the settings file (key-fire) and, in capitals, in the options.
std::string_view ActionName(Action action);

// The player's keys (key codes, as the input files name them) for each
// action, and the pad's buttons (0..15) for fire, confirm, pause and fast
// (the stick and the D-pad steer). The defaults are the game's own keys:
// with them nothing changes on the way in.
struct Bindings {
  std::array<std::vector<int>, kActionCount> keys;
  std::vector<int> padFire;
  std::vector<int> padConfirm;
  std::vector<int> padPause;
  std::vector<int> padFast;

  static Bindings Defaults();
  std::vector<int>& Keys(Action a) { return keys[static_cast<size_t>(a)]; }
  const std::vector<int>& Keys(Action a) const { return keys[static_cast<size_t>(a)]; }
  // The action's pad buttons; null for the directions, which the stick has.
  std::vector<int>* Buttons(Action a);
  const std::vector<int>* Buttons(Action a) const { return const_cast<Bindings*>(this)->Buttons(a); }
  bool operator==(const Bindings&) const = default;
};

// Escape quits, F1 opens the options, F12 saves a screenshot: no action takes them.
bool IsReservedKey(int code);

// The key the game gets for a key the player pressed, or -1 when it gets
// none. While a name is typed every key is itself, so the name takes the
// letter of the key. Otherwise a key given to actions becomes one of the
// game's keys for them: itself when it is one already (the defaults change
// nothing), else the first of the game's keys for its first action that
// acts where the player is (fire: Space, which confirms in the menus too,
// as it always has). A key of the game given to no action is kept from it;
// any other key passes as it is.
int GameKeyFor(const Bindings& bindings, int key, bool typing, Where where = Where::Play);

// The pad as the game sees it: the buttons for fire and confirm pressed as
// the game's button 0; the game's other three buttons as they are unless an
// action has them; nothing of the buttons past them.
JoystickReading GameReading(const Bindings& bindings, const JoystickReading& pad);
// Whether a reading holds any of the buttons.
bool HoldsAny(const JoystickReading& pad, const std::vector<int>& buttons);
