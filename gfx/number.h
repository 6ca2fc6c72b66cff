#pragma once

#include <memory>

#include "gfx/sprite256.h"
#include "gfx/surface.h"

// Decimal numbers in a fixed-width digit font: a strip of 11 glyphs of 14x22,
// the digits 0..9 and a dash.
class NNumber {
 public:
  static constexpr int kGlyphWidth = 14;
  static constexpr int kGlyphHeight = 22;
  static constexpr int kGlyphCount = 11;
  static constexpr int kDashGlyph = 10;

  NNumber();
  virtual ~NNumber();
  NNumber(const NNumber&) = delete;
  NNumber& operator=(const NNumber&) = delete;

  // There is a single digit strip; the index is kept for symmetry with
  // NAscii.
  void SetFont(int index) { font = index; }
  void SetTarget(Surface* surface) { target = surface; }
  // Draws value left-aligned at (x, y) with at least `digits` digits (leading
  // zeros); a longer number shows only its last `digits` digits. Returns the
  // x just right of the last glyph. Without a target returns x.
  int DrawNumber(int x, int y, int value, int digits);
  // Draws the dash at (x, y); returns x + 14, or x without a target.
  int DrawDash(int x, int y);

 private:
  int DrawGlyph(int x, int y, int glyph);

  int font = 0;
  std::unique_ptr<NSprite256> strip;
  Surface* target = nullptr;
};
