#pragma once

#include "input/joystick_source.h"

// The first pad the browser's Gamepad API lists. Browsers show a pad only
// after one of its buttons was pressed on the page.
class WebJoystick : public JoystickSource {
 public:
  JoystickReading Read() override;
};
