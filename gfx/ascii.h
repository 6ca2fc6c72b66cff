#pragma once

#include <array>
#include <memory>

#include "gfx/sprite256.h"
#include "gfx/surface.h"

// Fixed-width capital-letter text drawn glyph by glyph from a strip of 38
// glyphs of 11x18: A..Z, 0..9, "-" and ".". Small letters use the capitals;
// any other character leaves its cell empty. Two colourings: font 0 (blue
// border, pale green fill) and font 1 (red border, pale yellow fill).
class NAscii {
 public:
  static constexpr int kGlyphWidth = 11;
  static constexpr int kGlyphHeight = 18;
  static constexpr int kGlyphCount = 38;

  NAscii();
  virtual ~NAscii();
  NAscii(const NAscii&) = delete;
  NAscii& operator=(const NAscii&) = delete;

  // 0 or 1; other values leave the font unchanged.
  void SetFont(int index);
  void SetTarget(Surface* surface) { target = surface; }
  // Draws text with its first cell's top-left corner at (x, y) and returns
  // the x just right of the last cell. Without a target nothing is drawn and
  // x comes back unchanged.
  int DrawText(int x, int y, const char* text);

  // The glyph of a character, or -1 when it has none.
  static int GlyphOf(char c);

 private:
  int font = 0;
  std::array<std::unique_ptr<NSprite256>, 2> strips;
  Surface* target = nullptr;
};
