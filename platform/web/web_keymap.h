#pragma once

// The game's key code for a browser key (KeyboardEvent.code, which names the
// key's place on the keyboard whatever the layout), or -1 for keys the game
// leaves to the browser (Tab, Alt, function keys).
int GameKeyFromDomCode(const char* code);

// The game's key for a key press: a letter or digit comes from the character
// the key makes (KeyboardEvent.key), so that a name is typed as the keyboard
// is labelled whatever its layout; every other key, the game's movement and
// fire keys and the keypad among them, keeps its place (code).
int GameKeyFromDomKey(const char* key, const char* code);
