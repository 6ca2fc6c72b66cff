#pragma once

#include <array>
#include <cstdint>

#include "gfx/dib256.h"
#include "gfx/surface.h"

using Palette = std::array<PaletteEntry, 256>;

// How the picture fills the window or screen: Whole, by the largest whole
// factor, sharp, on black; Fill, as large as fits keeping its shape; Auto,
// Whole where that fills most of the height, else Fill (ChosenFit).
enum class Fit { Whole, Fill, Auto };

// A layer laid over the picture (the shell's panels): its pixels of the
// transparent index show the picture, the others cover it, through the same
// palette. Only its rows top..bottom-1 hold anything. With dim, the picture
// shows darker wherever the layer lets it through (a held game under its
// panel).
struct OverlayView {
  const Surface* layer = nullptr;
  uint8_t transparent = 0;
  int top = 0;
  int bottom = 0;
  bool dim = false;
};

// Shows the 8-bit back surface through the palette. The platform layer
// implements it on a window; headless runs use none. The overlay and the
// fit are the shell's: they change what the player sees, never the back
// surface.
class Presenter {
 public:
  virtual ~Presenter() = default;
  virtual void Present(const Surface& back, const Palette& palette) = 0;
  // From now on the layer (borrowed; layer null: none) lies over every
  // picture shown, and the last picture is shown again under it at once.
  virtual void SetOverlay(const OverlayView& /*overlay*/) {}
  virtual void SetFit(Fit /*fit*/) {}
};
