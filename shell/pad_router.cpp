#include "shell/pad_router.h"

JoystickReading PadRouter::Read() {
  if (!pad_) return {};
  JoystickReading game = GameReading(bindings_, pad_->Read());
  kept_ &= game.buttons;
  game.buttons &= ~kept_;
  return game;
}

PadRouter::Presses PadRouter::Look() {
  Presses presses;
  if (!pad_) return presses;
  JoystickReading now = pad_->Read();
  if (!lookedOnce_) {
    lookedOnce_ = true;
    looked_ = now;
    kept_ = GameReading(bindings_, now).buttons;
    return presses;
  }
  auto pressed = [&](const std::vector<int>& buttons) { return HoldsAny(now, buttons) && !HoldsAny(looked_, buttons); };
  presses.back = pressed({pad_button::kBack});
  presses.pause = pressed(bindings_.padPause);
  presses.fire = pressed(bindings_.padFire);
  presses.confirm = presses.fire || pressed(bindings_.padConfirm);
  presses.fast = pressed(bindings_.padFast);
  presses.buttons = now.buttons & ~looked_.buttons;
  int direction = JoyDirection(now);
  presses.held = direction;
  // Only the four straight directions move in a menu.
  if (direction != JoyDirection(looked_) && direction >= 0 && direction % 8 == 0) presses.direction = direction;
  looked_ = now;
  return presses;
}

void PadRouter::KeepHeldButtons() {
  if (pad_) kept_ = GameReading(bindings_, pad_->Read()).buttons;
}
