#include <gtest/gtest.h>

#include "gfx/surface.h"

namespace {

constexpr uint8_t kBackground = 99;

// 4x3 source whose pixels are 10 * row + column + 1, so every pixel that
// lands somewhere shows where it came from. Pixel (1, 1) is 12.
Surface Source() {
  Surface s(4, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) s.Row(y)[x] = static_cast<uint8_t>(10 * y + x + 1);
  }
  return s;
}

// What a clipped copy of src's rectangle `from` to (dx, dy) must leave at
// (x, y) of a target that started as kBackground.
uint8_t Expected(const Surface& src, const Rect& from, int dx, int dy, int x, int y) {
  int sx = from.left + x - dx;
  int sy = from.top + y - dy;
  bool inFrom = sx >= from.left && sx < from.right && sy >= from.top && sy < from.bottom;
  bool inSrc = sx >= 0 && sx < src.Width() && sy >= 0 && sy < src.Height();
  return inFrom && inSrc ? src.At(sx, sy) : kBackground;
}

void ExpectCopy(const Surface& target, const Surface& src, const Rect& from, int dx, int dy) {
  for (int y = 0; y < target.Height(); ++y) {
    for (int x = 0; x < target.Width(); ++x) {
      ASSERT_EQ(target.At(x, y), Expected(src, from, dx, dy, x, y))
          << "pixel " << x << "," << y << " blit to " << dx << "," << dy;
    }
  }
}

}  // namespace

TEST(SurfaceBlit, ClipsAtEveryEdgeInsteadOfRejecting) {
  Surface src = Source();
  Rect all{0, 0, 4, 3};
  struct Case {
    int dx, dy;
  } cases[] = {
      {3, 2},    // inside
      {-2, 2},   // left edge
      {8, 2},    // right edge
      {3, -2},   // top edge
      {3, 6},    // bottom edge
      {-3, -2},  // top-left corner: only source (3, 2)
      {9, 7},    // bottom-right corner: only source (0, 0)
      {-4, 2},   // wholly off to the left
      {10, 2},   // wholly off to the right
      {3, -3},   // wholly above
      {3, 8},    // wholly below
  };
  for (const Case& c : cases) {
    Surface target(10, 8);
    target.FillAll(kBackground);
    target.Blit(src, all, c.dx, c.dy);
    ExpectCopy(target, src, all, c.dx, c.dy);
  }
  // A source larger than the target on every side.
  Surface big(30, 30);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 30; ++x) big.Row(y)[x] = static_cast<uint8_t>(x + y);
  }
  Surface target(10, 8);
  target.Blit(big, {0, 0, 30, 30}, -5, -7);
  EXPECT_EQ(target.At(0, 0), 12);
  EXPECT_EQ(target.At(9, 7), 28);
}

TEST(SurfaceBlit, CopiesOnlyTheSourceRectangleKeptInsideTheSource) {
  Surface src = Source();
  struct Case {
    Rect from;
    int dx, dy;
  } cases[] = {
      {{1, 1, 3, 2}, 4, 4},    // one frame-like band
      {{0, 2, 4, 3}, 0, 7},    // the last row, at the bottom edge
      {{2, 1, 10, 10}, 1, 1},  // reaching past the source's right and bottom
      {{-1, -2, 2, 2}, 5, 5},  // starting before the source: the offset stays
  };
  for (const Case& c : cases) {
    Surface target(10, 8);
    target.FillAll(kBackground);
    target.Blit(src, c.from, c.dx, c.dy);
    ExpectCopy(target, src, c.from, c.dx, c.dy);
  }
}

TEST(SurfaceBlit, KeyedBlitSkipsOnlyTheKeyValue) {
  Surface src = Source();
  src.Row(0)[2] = 50;
  src.Row(2)[3] = 50;
  src.Row(1)[2] = 49;  // a neighbouring value is copied
  Surface target(10, 8);
  target.FillAll(kBackground);
  target.BlitKeyed(src, {0, 0, 4, 3}, -1, 6, 50);  // clipped on two sides
  EXPECT_EQ(target.At(0, 6), 2);
  EXPECT_EQ(target.At(1, 6), kBackground);  // the key
  EXPECT_EQ(target.At(2, 6), 4);
  EXPECT_EQ(target.At(1, 7), 49);
  EXPECT_EQ(target.At(2, 7), 14);
  EXPECT_EQ(target.At(3, 6), kBackground);
  int changed = 0;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 10; ++x) changed += target.At(x, y) != kBackground;
  }
  EXPECT_EQ(changed, 5);
  // The opaque blit copies the key like any other value.
  target.Blit(src, {0, 0, 4, 3}, 5, 0);
  EXPECT_EQ(target.At(7, 0), 50);
  EXPECT_EQ(target.At(8, 2), 50);
}

TEST(SurfaceFill, FillsOnlyTheClippedRectangle) {
  Surface s(10, 8);
  EXPECT_EQ(s.Pitch(), 12);
  EXPECT_EQ(s.Row(1) - s.Row(0), 12);
  struct Case {
    Rect rect;
    int filled;
  } cases[] = {
      {{2, 2, 5, 4}, 6}, {{-3, -3, 2, 2}, 4}, {{8, 6, 20, 20}, 4}, {{-5, 3, 50, 4}, 10},
      {{5, 5, 5, 9}, 0}, {{6, 2, 4, 5}, 0},   {{10, 0, 12, 8}, 0}, {{-100, -100, 100, 100}, 80},
  };
  for (const Case& c : cases) {
    s.FillAll(0);
    s.Fill(c.rect, 7);
    int filled = 0;
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 10; ++x) filled += s.At(x, y) == 7;
    }
    EXPECT_EQ(filled, c.filled) << c.rect.left << "," << c.rect.top;
  }
  // Degenerate sizes give an empty surface that takes fills and blits.
  Surface empty(-4, 0);
  EXPECT_EQ(empty.Width(), 0);
  empty.FillAll(3);
  empty.Blit(s, {0, 0, 10, 8}, 0, 0);
  s.Blit(empty, {0, 0, 4, 4}, 0, 0);
  EXPECT_EQ(s.At(0, 0), 7);
}
