#include "input/joystick.h"

int JoyHorizontal(const JoystickReading& r) {
  if (!r.present) return -1;
  if (r.x > joy::kRight) return 0;
  if (r.x < joy::kLeft) return 16;
  return -1;
}

int JoyDirection(const JoystickReading& r) {
  if (!r.present) return -1;
  bool down = r.y > joy::kDown;
  bool up = r.y < joy::kUp;
  if (r.x > joy::kRight) return down ? 28 : up ? 4 : 0;
  if (r.x < joy::kLeft) return down ? 20 : up ? 12 : 16;
  return down ? 24 : up ? 8 : -1;
}
