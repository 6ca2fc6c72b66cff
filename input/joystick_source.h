#pragma once

#include "input/joystick.h"

// Where the live pad comes from: the platform reads the first device once per
// frame. A pad plugged in while the game runs starts answering; one pulled out
// reads as not present.
class JoystickSource {
 public:
  virtual ~JoystickSource() = default;
  virtual JoystickReading Read() = 0;
};
