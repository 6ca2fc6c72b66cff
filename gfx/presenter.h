#pragma once

#include <array>

#include "gfx/dib256.h"
#include "gfx/surface.h"

using Palette = std::array<PaletteEntry, 256>;

// Shows the 8-bit back surface through the palette. The platform layer
// implements it on a window; headless runs use none.
class Presenter {
 public:
  virtual ~Presenter() = default;
  virtual void Present(const Surface& back, const Palette& palette) = 0;
};
