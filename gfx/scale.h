#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "gfx/presenter.h"
#include "gfx/surface.h"

// The presenter's work on the processor: the 8-bit picture turned into 32-bit
// colour through the palette and enlarged for the screen. Kept free of any
// platform so that it can be tested and timed on its own.

// Opaque 0xAARRGGBB for every palette entry.
std::array<uint32_t, 256> PaletteToArgb(const Palette& palette);

// Where a width x height picture lands in an output of outWidth x outHeight:
// enlarged by the largest whole factor that fits (at least 1, so a smaller
// output gets a negative left or top and shows the picture's centre), and
// centred.
struct PictureRect {
  int factor = 1;
  int left = 0;
  int top = 0;
};
PictureRect FitPicture(int width, int height, int outWidth, int outHeight);

// The fit taken in an outWidth x outHeight output: Auto becomes Whole where
// a whole factor fills at least three quarters of the output's height (sharp
// and large), Fill where it would leave more black than that; Whole and Fill
// stay as they are.
Fit ChosenFit(Fit fit, int width, int height, int outWidth, int outHeight);

// Where the picture lands at a fit, and how it gets there. Whole: enlarged by factor,
// nearest. Fill: first enlarged by factor, nearest, to the smallest whole
// multiple at least as large as the place, then smoothly reduced to the
// place's width x height, so every edge stays within one output pixel.
// An output smaller than the picture shows its centre at 1x either way.
struct Placement {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int factor = 1;
};
constexpr int kMostPrescale = 8;
Placement PlacePicture(int width, int height, int outWidth, int outHeight, Fit fit);

// The window's scale: the wanted factor, lowered to the largest whole one at
// which a width x height picture fits an area of areaWidth x areaHeight (the
// desktop's usable part); never below 1.
int FitScale(int wanted, int width, int height, int areaWidth, int areaHeight);

// Row y of the picture as it shows under the overlay: the picture's own row
// where the overlay covers nothing, else the two mixed into scratch.
const uint8_t* RowUnderOverlay(const Surface& picture, const OverlayView& overlay, int y,
                               std::vector<uint8_t>& scratch);

// The colours of a palette's conversion (any byte order, alpha in the top
// byte) as the picture shows under a dimming overlay.
std::array<uint32_t, 256> DimColours(const std::array<uint32_t, 256>& colours);

// Row y as colours: the picture's pixels through colours (through dimmed
// where the overlay dims), the overlay's through colours; width pixels.
void ColourRowUnderOverlay(const Surface& picture, const OverlayView& overlay, int y,
                           const std::array<uint32_t, 256>& colours, const std::array<uint32_t, 256>& dimmed,
                           uint32_t* out);

// Writes picture (under the overlay) into an outWidth x outHeight buffer of
// 0xAARRGGBB pixels whose rows lie outPitch pixels apart: scaled by the
// largest whole factor that fits (at least 1), nearest-neighbour, centred,
// with opaque black around it. A buffer smaller than the picture shows its
// centre.
void ConvertAndScale(const Surface& picture, const Palette& palette, uint32_t* out, int outWidth, int outHeight,
                     int outPitch, const OverlayView& overlay = {});

// The same at the Fill placement, with its smooth last step.
void ConvertAndFill(const Surface& picture, const Palette& palette, uint32_t* out, int outWidth, int outHeight,
                    int outPitch, const OverlayView& overlay = {});
