#include "server/font_png.h"

#include "generated/resource_ids.h"
#include "gfx/ascii.h"
#include "gfx/dib256.h"
#include "gfx/png_writer.h"

std::string FontPng() {
  static constexpr const char* kGlyphs = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-.";
  Surface strip(NAscii::kGlyphWidth * NAscii::kGlyphCount, NAscii::kGlyphHeight * 2);
  NAscii font;
  font.SetTarget(&strip);
  for (int colouring = 0; colouring < 2; ++colouring) {
    font.SetFont(colouring);
    font.DrawText(0, colouring * NAscii::kGlyphHeight, kGlyphs);
  }
  Palette palette{};
  NDib256(bitmap::kPalette).GetPalette(0, static_cast<int>(palette.size()), palette.data());
  return EncodePng(strip, palette);
}
