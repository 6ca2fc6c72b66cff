#pragma once

// The character a key going down types into a name, or -1 for keys that type
// nothing. Letters are always capitals; Backspace and the Left arrow give 8,
// Enter and keypad Enter give 10.
int TypedCharFromKeyCode(int code);
