#include "gfx/number.h"

#include <string>

#include "generated/resource_ids.h"

NNumber::NNumber() : strip(std::make_unique<NSprite256>(bitmap::kDigits, kGlyphCount)) {}

NNumber::~NNumber() = default;

int NNumber::DrawGlyph(int x, int y, int glyph) {
  strip->SetFrame(glyph);
  strip->SetPosition(x, y);
  strip->Draw(target);
  return x + kGlyphWidth;
}

int NNumber::DrawNumber(int x, int y, int value, int digits) {
  if (!target) return x;
  // The ranking is stored where a player can edit it, so a negative count
  // can turn up. There is no minus glyph: the dash stands in for it, and the
  // digits that follow are padded and cut as for any other number.
  long long magnitude = value;
  if (magnitude < 0) {
    x = DrawGlyph(x, y, kDashGlyph);
    magnitude = -magnitude;
  }
  std::string text = std::to_string(magnitude);
  int length = static_cast<int>(text.size());
  for (int i = length; i < digits; ++i) x = DrawGlyph(x, y, 0);
  // Without a digit count the whole number is drawn.
  int skip = digits >= 1 && length > digits ? length - digits : 0;
  for (int i = skip; i < length; ++i) x = DrawGlyph(x, y, text[static_cast<size_t>(i)] - '0');
  return x;
}

int NNumber::DrawDash(int x, int y) {
  if (!target) return x;
  return DrawGlyph(x, y, kDashGlyph);
}
