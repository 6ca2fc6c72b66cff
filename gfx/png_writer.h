#pragma once

#include <string>

#include "gfx/presenter.h"
#include "gfx/surface.h"

// An 8-bit surface as the bytes of an indexed PNG in the palette's colours,
// ready to be saved as the player's file (app/player_file.h).
std::string EncodePng(const Surface& surface, const Palette& palette);
