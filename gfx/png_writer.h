#pragma once

#include <string>

#include "gfx/presenter.h"
#include "gfx/surface.h"

// Saves an 8-bit surface as an indexed PNG in the palette's colours.
// Returns false when the file cannot be written.
bool WritePng(const std::string& path, const Surface& surface, const Palette& palette);
