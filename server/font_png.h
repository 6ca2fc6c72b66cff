#pragma once

#include <string>

// The game's two fonts as one PNG for the hall's page: the glyphs A..Z,
// 0..9, '-' and '.' (11x18 each) in a row, the green font above the yellow,
// on the game's black.
std::string FontPng();
