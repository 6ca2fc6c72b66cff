#pragma once

#include <cstdint>

#include "input/joystick_source.h"
#include "shell/bindings.h"

// The pad on its way to the game: the game reads it through this source,
// its buttons turned by the player's bindings. The shell looks at the pad
// itself for its own buttons (Back: the options; the pause button) and, while
// the options are open, for moving in them.
class PadRouter : public JoystickSource {
 public:
  // pad: the platform's (null: none); bindings: the shell's, read at each look.
  PadRouter(JoystickSource* pad, const Bindings& bindings) : pad_(pad), bindings_(bindings) {}

  void SetPad(JoystickSource* pad) { pad_ = pad; }
  bool HasPad() const { return pad_ != nullptr; }
  // The game's reading.
  JoystickReading Read() override;

  // What went down since the shell last looked.
  struct Presses {
    bool back = false;
    bool pause = false;
    bool confirm = false;  // a fire or confirm button
    bool fire = false;
    bool fast = false;
    uint32_t buttons = 0;  // every button that went down
    int direction = -1;    // a direction entered (0 right, 8 up, 16 left, 24 down)
    int held = -1;         // the direction held now
  };
  Presses Look();
  // The buttons held now stay the shell's until let go: the press that
  // closed the options never reaches the game.
  void KeepHeldButtons();

 private:
  JoystickSource* pad_;
  const Bindings& bindings_;
  JoystickReading looked_;
  uint32_t kept_ = 0;
  // A button held at the first look is an earlier session's press (the page
  // makes a shell for each): it counts again only once let go.
  bool lookedOnce_ = false;
};
