#include "platform/sdl_keymap.h"

int GameKeyFromScancode(SDL_Scancode s) {
  // Letters follow the keyboard's rows, as the game's codes do.
  static const int kLetters[26] = {
      0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,  // A..M
      0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C,  // N..Z
  };
  if (s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_Z) return kLetters[s - SDL_SCANCODE_A];
  if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_9) return 0x02 + (s - SDL_SCANCODE_1);
  switch (s) {
    case SDL_SCANCODE_0:
      return 0x0B;
    case SDL_SCANCODE_ESCAPE:
      return 0x01;
    case SDL_SCANCODE_MINUS:
      return 0x0C;
    case SDL_SCANCODE_BACKSPACE:
      return 0x0E;
    case SDL_SCANCODE_TAB:
      return 0x0F;
    case SDL_SCANCODE_RETURN:
      return 0x1C;
    case SDL_SCANCODE_LCTRL:
      return 0x1D;
    case SDL_SCANCODE_LSHIFT:
      return 0x2A;
    case SDL_SCANCODE_PERIOD:
      return 0x34;
    case SDL_SCANCODE_RSHIFT:
      return 0x36;
    case SDL_SCANCODE_LALT:
      return 0x38;
    case SDL_SCANCODE_SPACE:
      return 0x39;
    case SDL_SCANCODE_F1:
      return 0x3B;
    case SDL_SCANCODE_F10:
      return 0x44;
    case SDL_SCANCODE_KP_7:
      return 0x47;
    case SDL_SCANCODE_KP_8:
      return 0x48;
    case SDL_SCANCODE_KP_9:
      return 0x49;
    case SDL_SCANCODE_KP_MINUS:
      return 0x4A;
    case SDL_SCANCODE_KP_4:
      return 0x4B;
    case SDL_SCANCODE_KP_5:
      return 0x4C;
    case SDL_SCANCODE_KP_6:
      return 0x4D;
    case SDL_SCANCODE_KP_1:
      return 0x4F;
    case SDL_SCANCODE_KP_2:
      return 0x50;
    case SDL_SCANCODE_KP_3:
      return 0x51;
    case SDL_SCANCODE_KP_0:
      return 0x52;
    case SDL_SCANCODE_KP_PERIOD:
      return 0x53;
    case SDL_SCANCODE_F12:
      return 0x58;
    case SDL_SCANCODE_KP_ENTER:
      return 0x9C;
    case SDL_SCANCODE_RCTRL:
      return 0x9D;
    case SDL_SCANCODE_RALT:
      return 0xB8;
    case SDL_SCANCODE_UP:
      return 0xC8;
    case SDL_SCANCODE_LEFT:
      return 0xCB;
    case SDL_SCANCODE_RIGHT:
      return 0xCD;
    case SDL_SCANCODE_DOWN:
      return 0xD0;
    default:
      return -1;
  }
}
