#include "shell/bindings.h"

#include <algorithm>

#include "input/input.h"

namespace {

// The game's own keys for each action, in the order the player sees them by
// default; the first is the one a key given to the action becomes.
const std::array<std::vector<int>, kActionCount>& GameKeys() {
  static const std::array<std::vector<int>, kActionCount> keys = {{
      {key::kLeft},
      {key::kRight},
      {key::kUp},
      {key::kDown},
      {key::kSpace, key::kLeftControl, key::kRightControl},
      {key::kEnter, key::kKeypadEnter, key::kSpace},
      {key::kP},
      {key::kS},
  }};
  return keys;
}

constexpr std::array<std::string_view, kActionCount> kNames = {"left", "right",   "up",    "down",
                                                               "fire", "confirm", "pause", "fast"};

bool Has(const std::vector<int>& list, int value) { return std::find(list.begin(), list.end(), value) != list.end(); }

}  // namespace

bool ActsIn(Action action, Where where) {
  // The witch moves only sideways: up and down choose in the title alone.
  if (where == Where::Play) return action != Action::Up && action != Action::Down && action != Action::Confirm;
  return action != Action::Fire;
}

bool ActTogether(Action a, Action b) {
  return (ActsIn(a, Where::Play) && ActsIn(b, Where::Play)) || (ActsIn(a, Where::Menus) && ActsIn(b, Where::Menus));
}

std::string_view ActionName(Action action) { return kNames[static_cast<size_t>(action)]; }

Bindings Bindings::Defaults() {
  Bindings b;
  b.keys = GameKeys();
  b.padFire = {pad_button::kSouth};
  b.padConfirm = {pad_button::kSouth};
  b.padPause = {pad_button::kStart};
  return b;
}

std::vector<int>* Bindings::Buttons(Action a) {
  switch (a) {
    case Action::Fire:
      return &padFire;
    case Action::Confirm:
      return &padConfirm;
    case Action::Pause:
      return &padPause;
    case Action::Fast:
      return &padFast;
    default:
      return nullptr;
  }
}

bool IsReservedKey(int code) { return code == key::kEscape || code == key::kF1 || code == key::kF12; }

int GameKeyFor(const Bindings& bindings, int key, bool typing, Where where) {
  if (typing || IsReservedKey(key)) return key;
  bool given = false;
  bool ownForAll = true;  // the game's own actions for the key are all among those given
  bool ownAny = false;
  std::optional<Action> first;
  for (Action a : kActions) {
    bool gameHas = Has(GameKeys()[static_cast<size_t>(a)], key);
    bool playerHas = Has(bindings.Keys(a), key);
    ownAny = ownAny || gameHas;
    if (gameHas && !playerHas) ownForAll = false;
    if (playerHas && (!first || (!ActsIn(*first, where) && ActsIn(a, where)))) first = a;
    given = given || playerHas;
  }
  if (!given) return ownAny ? -1 : key;
  if (ownAny && ownForAll) return key;
  return GameKeys()[static_cast<size_t>(*first)].front();
}

bool HoldsAny(const JoystickReading& pad, const std::vector<int>& buttons) {
  for (int b : buttons) {
    if (b >= 0 && b < pad_button::kCount && (pad.buttons & (1u << b))) return true;
  }
  return false;
}

JoystickReading GameReading(const Bindings& bindings, const JoystickReading& pad) {
  JoystickReading game = pad;
  game.buttons = 0;
  if (HoldsAny(pad, bindings.padFire) || HoldsAny(pad, bindings.padConfirm)) game.buttons |= 1u;
  for (int b = 1; b < pad_button::kGameButtons; ++b) {
    bool taken = Has(bindings.padFire, b) || Has(bindings.padConfirm, b) || Has(bindings.padPause, b) ||
                 Has(bindings.padFast, b);
    if (!taken) game.buttons |= pad.buttons & (1u << b);
  }
  return game;
}
