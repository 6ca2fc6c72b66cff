#pragma once

// The game's key code for a browser key (KeyboardEvent.code, which names the
// key's place on the keyboard whatever the layout), or -1 for keys the game
// leaves to the browser (Tab, Alt, function keys).
int GameKeyFromDomCode(const char* code);
