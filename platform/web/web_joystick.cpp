#include "platform/web/web_joystick.h"

#include <emscripten.h>

namespace {

// Fills x, y and buttons from the first connected pad; 0 without one (the
// pads are not even asked until the browser has reported one: asking costs
// the page's main thread more than the rest of a frame's reading). Axes
// come as -1..1 and go to the desktop's -32768..32767; a pressed D-pad
// (standard buttons 12 to 15) pushes its axis to the end, the four face
// buttons (south, east, west, north) are bits 0 to 3, and Back (standard 8)
// and Start (9) the shell's bits 4 and 5, as on the desktop.
// clang-format off
EM_JS(int, PageReadPad, (int* out, int backBit, int startBit), {
  if (!VelloriaPage.padsSeen()) return 0;
  const pads = navigator.getGamepads ? navigator.getGamepads() : [];
  const pad = Array.prototype.find.call(pads, p => p && p.connected);
  if (!pad) return 0;
  const pressed = i => i < pad.buttons.length && pad.buttons[i].pressed;
  const axis = (i, low, high) => {
    if (pressed(low)) return -32768;
    if (pressed(high)) return 32767;
    const v = i < pad.axes.length ? Math.max(-1, Math.min(1, pad.axes[i])) : 0;
    return Math.round(v < 0 ? v * 32768 : v * 32767);
  };
  let buttons = 0;
  for (let b = 0; b < 4; ++b)
    if (pressed(b)) buttons |= 1 << b;
  if (pressed(8)) buttons |= 1 << backBit;
  if (pressed(9)) buttons |= 1 << startBit;
  HEAP32[out >> 2] = axis(0, 14, 15);
  HEAP32[(out >> 2) + 1] = axis(1, 12, 13);
  HEAP32[(out >> 2) + 2] = buttons;
  return 1;
});
// clang-format on

}  // namespace

JoystickReading WebJoystick::Read() {
  int values[3] = {};
  JoystickReading reading;
  if (!PageReadPad(values, pad_button::kBack, pad_button::kStart)) return reading;
  reading.present = true;
  reading.x = values[0];
  reading.y = values[1];
  reading.buttons = static_cast<uint32_t>(values[2]);
  return reading;
}
