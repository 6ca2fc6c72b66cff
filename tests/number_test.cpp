#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "base/resources.h"
#include "gfx/number.h"
#include "packed_bitmap.h"

namespace {

constexpr uint8_t kBackground = 99;
constexpr uint8_t kFirst = 200;  // glyph g is colour 200 + g; 10 is the dash
constexpr int kDash = 10;

class NumberTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OverrideResource(ResourceType::Bitmap, NNumber::kBitmap, strip);
    screen.FillAll(kBackground);
  }
  void TearDown() override { ClearResourceOverrides(); }

  std::vector<int> Cells(int x, int n) { return ReadCells(screen, x, 100, 14, 22, n, kFirst, kBackground); }

  std::vector<uint8_t> strip = PackedBitmap(14, 22 * 11, SolidFrames(14, 22, 11, 0, kFirst));
  Surface screen{640, 480};
};

}  // namespace

TEST_F(NumberTest, PadsWithZerosAndKeepsTheLastDigits) {
  struct Case {
    int value, digits;
    std::vector<int> glyphs;
  } cases[] = {
      {5, 4, {0, 0, 0, 5}}, {0, 1, {0}},      {12345, 4, {2, 3, 4, 5}},
      {1234, 3, {2, 3, 4}}, {9, 2, {0, 9}},   {1000, 4, {1, 0, 0, 0}},
      {250, 0, {2, 5, 0}},  {77, -3, {7, 7}}, {INT_MAX, 4, {3, 6, 4, 7}},
  };
  for (const Case& c : cases) {
    NNumber number;
    number.SetTarget(&screen);
    screen.FillAll(kBackground);
    int n = static_cast<int>(c.glyphs.size());
    EXPECT_EQ(number.DrawNumber(30, 100, c.value, c.digits), 30 + 14 * n) << c.value;
    EXPECT_EQ(Cells(30, n + 1).back(), -1) << c.value;  // nothing beyond
    std::vector<int> drawn = Cells(30, n);
    EXPECT_EQ(drawn, c.glyphs) << c.value;
  }
}

TEST_F(NumberTest, NegativeValuesStartWithTheDash) {
  struct Case {
    int value, digits;
    std::vector<int> glyphs;
  } cases[] = {
      {-5, 1, {kDash, 5}},
      {-5, 3, {kDash, 0, 0, 5}},
      {-1234, 2, {kDash, 3, 4}},
      {INT_MIN, 4, {kDash, 3, 6, 4, 8}},
  };
  for (const Case& c : cases) {
    NNumber number;
    number.SetTarget(&screen);
    screen.FillAll(kBackground);
    int n = static_cast<int>(c.glyphs.size());
    EXPECT_EQ(number.DrawNumber(0, 100, c.value, c.digits), 14 * n) << c.value;
    EXPECT_EQ(Cells(0, n), c.glyphs) << c.value;
  }
}

TEST_F(NumberTest, StageAndLevelReadWithTheDashBetween) {
  NNumber number;
  number.SetTarget(&screen);
  int x = number.DrawNumber(10, 100, 1, 1);
  x = number.DrawDash(x, 100);
  x = number.DrawNumber(x, 100, 5, 2);
  EXPECT_EQ(x, 10 + 14 * 4);
  std::vector<int> expected = {1, kDash, 0, 5};
  EXPECT_EQ(Cells(10, 4), expected);
}

TEST_F(NumberTest, WithoutATargetNothingAdvances) {
  NNumber number;
  EXPECT_EQ(number.DrawNumber(33, 100, 1234, 4), 33);
  EXPECT_EQ(number.DrawDash(33, 100), 33);
  number.SetTarget(&screen);
  EXPECT_EQ(number.DrawDash(33, 100), 47);
}
