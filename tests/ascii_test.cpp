#include <gtest/gtest.h>

#include <vector>

#include "base/resources.h"
#include "gfx/ascii.h"
#include "packed_bitmap.h"

namespace {

constexpr uint8_t kBackground = 99;
constexpr uint8_t kFont0First = 100;  // glyph g of font 0 is colour 100 + g
constexpr uint8_t kFont1First = 150;

// Glyph strips of the real size with one flat colour per glyph, so that a
// cell tells which glyph was drawn into it.
class AsciiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OverrideResource(ResourceType::Bitmap, NAscii::kFont0Bitmap, font0);
    OverrideResource(ResourceType::Bitmap, NAscii::kFont1Bitmap, font1);
    screen.FillAll(kBackground);
  }
  void TearDown() override { ClearResourceOverrides(); }

  std::vector<uint8_t> font0 = PackedBitmap(11, 18 * 38, SolidFrames(11, 18, 38, 0, kFont0First));
  std::vector<uint8_t> font1 = PackedBitmap(11, 18 * 38, SolidFrames(11, 18, 38, 0, kFont1First));
  Surface screen{640, 480};
};

int CountNot(const Surface& s, uint8_t value) {
  int n = 0;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) n += s.At(x, y) != value;
  }
  return n;
}

}  // namespace

TEST_F(AsciiTest, SentenceUsesCapitalsDigitsAndFullStopAndLeavesSpacesEmpty) {
  NAscii ascii;
  ascii.SetTarget(&screen);
  const char* text = "It costs 50 potions to continue.";
  EXPECT_EQ(ascii.DrawText(148, 450, text), 148 + 11 * 32);
  // I t _ c o s t s _ 5 0 _ p o t i o n s _ t o _ c o n t i n u e .
  std::vector<int> expected = {8,  19, -1, 2,  14, 18, 19, 18, -1, 31, 26, -1, 15, 14, 19, 8,
                               14, 13, 18, -1, 19, 14, -1, 2,  14, 13, 19, 8,  13, 20, 4,  37};
  EXPECT_EQ(ReadCells(screen, 148, 450, 11, 18, 32, kFont0First, kBackground), expected);
  // Nothing outside the line's cells.
  EXPECT_EQ(CountNot(screen, kBackground), (32 - 5) * 11 * 18);
}

TEST_F(AsciiTest, EveryGlyphHasItsCharacter) {
  NAscii ascii;
  ascii.SetTarget(&screen);
  EXPECT_EQ(ascii.DrawText(0, 0, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-."), 11 * 38);
  std::vector<int> cells = ReadCells(screen, 0, 0, 11, 18, 38, kFont0First, kBackground);
  for (int g = 0; g < 38; ++g) EXPECT_EQ(cells[static_cast<size_t>(g)], g);
  // The strip's very first pixel is the key, so A's top-left stays clear.
  EXPECT_EQ(screen.At(0, 0), kBackground);
  EXPECT_EQ(screen.At(1, 0), kFont0First);
}

TEST_F(AsciiTest, CharactersWithoutGlyphsStillTakeTheirCell) {
  NAscii ascii;
  ascii.SetTarget(&screen);
  EXPECT_EQ(ascii.DrawText(20, 30, "a,b'c!z\x80"), 20 + 11 * 8);
  std::vector<int> expected = {0, -1, 1, -1, 2, -1, 25, -1};
  EXPECT_EQ(ReadCells(screen, 20, 30, 11, 18, 8, kFont0First, kBackground), expected);
}

TEST_F(AsciiTest, FontOneDrawsTheSameCellsFromTheOtherStrip) {
  NAscii ascii;
  ascii.SetTarget(&screen);
  ascii.SetFont(1);
  EXPECT_EQ(ascii.DrawText(5, 7, "Go-1"), 5 + 44);
  std::vector<int> expected = {6, 14, 36, 27};
  EXPECT_EQ(ReadCells(screen, 5, 7, 11, 18, 4, kFont1First, kBackground), expected);
  ascii.SetFont(7);  // not a font: font 1 stays
  screen.FillAll(kBackground);
  ascii.DrawText(5, 7, "G");
  EXPECT_EQ(screen.At(10, 16), kFont1First + 6);
  ascii.SetFont(0);
  ascii.DrawText(5, 7, "G");
  EXPECT_EQ(screen.At(10, 16), kFont0First + 6);
}

TEST_F(AsciiTest, NothingToDrawReturnsX) {
  NAscii ascii;
  EXPECT_EQ(ascii.DrawText(40, 10, "NO TARGET"), 40);
  ascii.SetTarget(&screen);
  EXPECT_EQ(ascii.DrawText(40, 10, ""), 40);
  EXPECT_EQ(ascii.DrawText(40, 10, nullptr), 40);
  EXPECT_EQ(CountNot(screen, kBackground), 0);
  // Text running off the right edge is clipped, and the x still advances.
  EXPECT_EQ(ascii.DrawText(630, 470, "AB"), 652);
  EXPECT_EQ(CountNot(screen, kBackground), 10 * 10 - 1);
}
