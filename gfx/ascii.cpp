#include "gfx/ascii.h"

#include "generated/resource_ids.h"

namespace {
constexpr int kFirstDigitGlyph = 26;
constexpr int kMinusGlyph = 36;
constexpr int kFullStopGlyph = 37;
}  // namespace

NAscii::NAscii() {
  strips[0] = std::make_unique<NSprite256>(bitmap::kFontGreen, kGlyphCount);
  strips[1] = std::make_unique<NSprite256>(bitmap::kFontYellow, kGlyphCount);
}

NAscii::~NAscii() = default;

void NAscii::SetFont(int index) {
  if (index == 0 || index == 1) font = index;
}

int NAscii::GlyphOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a';
  if (c >= '0' && c <= '9') return kFirstDigitGlyph + (c - '0');
  if (c == '-') return kMinusGlyph;
  if (c == '.') return kFullStopGlyph;
  return -1;
}

int NAscii::DrawText(int x, int y, const char* text) {
  if (!target || !text) return x;
  NSprite256& strip = *strips[static_cast<size_t>(font)];
  int cellX = x;
  for (const char* c = text; *c; ++c, cellX += kGlyphWidth) {
    int glyph = GlyphOf(*c);
    if (glyph < 0) continue;  // the cell stays empty but is still used
    strip.SetFrame(glyph);
    strip.SetPosition(cellX, y);
    strip.Draw(target);
  }
  return cellX;
}
