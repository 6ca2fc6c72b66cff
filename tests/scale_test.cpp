#include <gtest/gtest.h>

#include <vector>

#include "gfx/scale.h"

namespace {

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kUntouched = 0x12345678u;

// Entry i is the colour (i, 255 - i, i / 2), so every index has its own.
Palette TestPalette() {
  Palette p{};
  for (int i = 0; i < 256; ++i) {
    p[static_cast<size_t>(i)] =
        PaletteEntry{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i / 2), 0};
  }
  return p;
}

uint32_t Colour(int index) {
  return kBlack | static_cast<uint32_t>(index) << 16 | static_cast<uint32_t>(255 - index) << 8 |
         static_cast<uint32_t>(index / 2);
}

Surface Picture(int w, int h) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) s.Row(y)[x] = static_cast<uint8_t>((x * 7 + y * 13) & 0xFF);
  }
  return s;
}

struct Buffer {
  Buffer(int w, int h, int rowPitch)
      : width(w), height(h), pitch(rowPitch), pixels(static_cast<size_t>(rowPitch * h), kUntouched) {}
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * pitch + x)]; }
  int width, height, pitch;
  std::vector<uint32_t> pixels;
};

// Checks every pixel of the buffer against a picture enlarged by `factor`
// with its top-left corner at (left, top).
void ExpectScaled(const Buffer& b, const Surface& picture, int factor, int left, int top) {
  for (int y = 0; y < b.height; ++y) {
    for (int x = 0; x < b.width; ++x) {
      int px = x - left;
      int py = y - top;
      bool inside = px >= 0 && py >= 0 && px < picture.Width() * factor && py < picture.Height() * factor;
      uint32_t expected = inside ? Colour(picture.At(px / factor, py / factor)) : kBlack;
      ASSERT_EQ(b.At(x, y), expected) << x << "," << y;
    }
    for (int x = b.width; x < b.pitch; ++x) ASSERT_EQ(b.At(x, y), kUntouched) << "padding of row " << y;
  }
}

}  // namespace

TEST(ConvertAndScale, FullHdScreenGetsTheDoubledPictureLetterboxed) {
  Surface picture = Picture(640, 480);
  Buffer b(1920, 1080, 1920);
  ConvertAndScale(picture, TestPalette(), b.pixels.data(), b.width, b.height, b.pitch);
  // 1080 / 480 allows only 2: 1280x960 at (320, 60).
  ExpectScaled(b, picture, 2, 320, 60);
  EXPECT_EQ(b.At(320, 60), Colour(picture.At(0, 0)));
  EXPECT_EQ(b.At(1599, 1019), Colour(picture.At(639, 479)));
  EXPECT_EQ(b.At(1600, 1019), kBlack);
}

TEST(ConvertAndScale, PicksTheLargestWholeFactorAndKeepsRowPadding) {
  Surface small = Picture(8, 6);
  struct Case {
    int width, height, pitch, factor, left, top;
  } cases[] = {
      {8, 6, 8, 1, 0, 0},      // same size
      {29, 20, 32, 3, 2, 1},   // odd borders, padded rows
      {40, 13, 40, 2, 12, 0},  // height decides
      {17, 60, 20, 2, 0, 24},  // width decides
  };
  for (const Case& c : cases) {
    Buffer b(c.width, c.height, c.pitch);
    ConvertAndScale(small, TestPalette(), b.pixels.data(), c.width, c.height, c.pitch);
    ExpectScaled(b, small, c.factor, c.left, c.top);
  }
}

TEST(ConvertAndScale, BufferSmallerThanThePictureShowsItsCentre) {
  Surface picture = Picture(640, 480);
  Buffer b(320, 240, 320);
  ConvertAndScale(picture, TestPalette(), b.pixels.data(), b.width, b.height, b.pitch);
  ExpectScaled(b, picture, 1, -160, -120);
  Buffer tall(600, 500, 600);
  ConvertAndScale(picture, TestPalette(), tall.pixels.data(), tall.width, tall.height, tall.pitch);
  ExpectScaled(tall, picture, 1, -20, 10);
  // An empty picture leaves a black buffer.
  Buffer black(5, 4, 5);
  ConvertAndScale(Surface(0, 0), TestPalette(), black.pixels.data(), 5, 4, 5);
  for (uint32_t p : black.pixels) EXPECT_EQ(p, kBlack);
}

TEST(FitPicture, WholeFactorsCentredAndWindowsThatFitTheDesktop) {
  struct Case {
    int outWidth, outHeight, factor, left, top;
  };
  for (const Case& c : {Case{1920, 1080, 2, 320, 60}, Case{1280, 1024, 2, 0, 32}, Case{1279, 1024, 1, 319, 272},
                        Case{2560, 1440, 3, 320, 0}, Case{600, 400, 1, -20, -40}}) {
    PictureRect r = FitPicture(640, 480, c.outWidth, c.outHeight);
    EXPECT_EQ(r.factor, c.factor) << c.outWidth << "x" << c.outHeight;
    EXPECT_EQ(r.left, c.left) << c.outWidth << "x" << c.outHeight;
    EXPECT_EQ(r.top, c.top) << c.outWidth << "x" << c.outHeight;
  }
  // The wanted scale, lowered to what fits the usable area, never below 1.
  EXPECT_EQ(FitScale(3, 640, 480, 1920, 1053), 2);
  EXPECT_EQ(FitScale(3, 640, 480, 1920, 1440), 3);
  EXPECT_EQ(FitScale(2, 640, 480, 2560, 1440), 2);
  EXPECT_EQ(FitScale(2, 640, 480, 1366, 768), 1);
  EXPECT_EQ(FitScale(4, 640, 480, 600, 400), 1);
}
