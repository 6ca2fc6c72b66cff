#pragma once

#include <cstdint>

// One reading of the pad: two axes in -32768..32767 (x grows to the right, y
// downwards) and the button bits, bit 0 = button 0. present is false when no
// pad is plugged in; such a reading is centred with no buttons.
struct JoystickReading {
  bool present = false;
  int x = 0;
  int y = 0;
  uint32_t buttons = 0;

  bool operator==(const JoystickReading&) const = default;
};

// Button numbers of a reading. The game reads the south face button (0);
// the pad reports the other face buttons and two more for the shell around
// the game, which keeps them from it.
namespace pad_button {
constexpr int kSouth = 0;
constexpr int kEast = 1;
constexpr int kWest = 2;
constexpr int kNorth = 3;
constexpr int kBack = 4;   // Back, Select, Share: the options
constexpr int kStart = 5;  // Start, Menu, Options
constexpr int kGameButtons = 4;
constexpr int kCount = 16;
}  // namespace pad_button

// The thresholds lie 10 % of the axis range inside each end, and every
// comparison is strict: a stick exactly on a threshold is centred on that axis.
namespace joy {
constexpr int kAxisMin = -32768;
constexpr int kAxisMax = 32767;
constexpr int kMargin = (kAxisMax - kAxisMin) / 10;
constexpr int kLeft = kAxisMin + kMargin;
constexpr int kRight = kAxisMax - kMargin;
constexpr int kUp = kAxisMin + kMargin;
constexpr int kDown = kAxisMax - kMargin;
}  // namespace joy

// The direction the reading points in (0 right, 4 up-right, 8 up, ... 28
// down-right), or -1 when centred or without a pad.
int JoyDirection(const JoystickReading& reading);
// 0 pushed right, 16 pushed left, else -1.
int JoyHorizontal(const JoystickReading& reading);
