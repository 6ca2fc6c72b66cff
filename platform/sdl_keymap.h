#pragma once

#include <SDL.h>

// The game's key code for an SDL scancode, or -1 for keys the game ignores.
int GameKeyFromScancode(SDL_Scancode scancode);
