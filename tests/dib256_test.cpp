#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "base/resources.h"
#include "gfx/dib256.h"
#include "packed_bitmap.h"

namespace {

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

std::vector<uint8_t> Pixels(int w, int h) {
  std::vector<uint8_t> p(static_cast<size_t>(w * h));
  for (size_t i = 0; i < p.size(); ++i) p[i] = static_cast<uint8_t>(i + 1);
  return p;
}

}  // namespace

TEST(Dib256, LoadsRowsBottomUpWithFourByteStrides) {
  struct Case {
    int width, stride;
  } cases[] = {{6, 8}, {347, 348}, {640, 640}, {1, 4}, {11, 12}};
  for (const Case& c : cases) {
    std::vector<uint8_t> packed = PackedBitmap(c.width, 3, Pixels(c.width, 3));
    NDib256 dib(packed);
    ASSERT_FALSE(dib.IsEmpty()) << c.width;
    EXPECT_EQ(dib.GetWidth(), c.width);
    EXPECT_EQ(dib.GetHeight(), 3);
    EXPECT_EQ(dib.GetStride(), c.stride);
    // The first stored row is the bottom of the picture.
    EXPECT_EQ(dib.GetBits()[0], static_cast<uint8_t>(2 * c.width + 1));
    EXPECT_EQ(dib.PixelAt(0, 0), 1);
    EXPECT_EQ(dib.PixelAt(c.width - 1, 2), static_cast<uint8_t>(3 * c.width));
  }
}

TEST(Dib256, TopDownBitmapsReadTheSame) {
  std::vector<uint8_t> packed = PackedBitmap(3, 2, {1, 2, 3, 4, 5, 6});
  // Store the rows the other way round and say so with a negative height.
  std::vector<uint8_t> flipped = packed;
  std::copy(packed.begin() + 1064, packed.begin() + 1068, flipped.begin() + 1068);
  std::copy(packed.begin() + 1068, packed.begin() + 1072, flipped.begin() + 1064);
  Put32(flipped, 8, static_cast<uint32_t>(-2));
  NDib256 dib(flipped);
  ASSERT_FALSE(dib.IsEmpty());
  EXPECT_EQ(dib.GetHeight(), 2);
  EXPECT_EQ(dib.PixelAt(0, 0), 1);
  EXPECT_EQ(dib.PixelAt(2, 1), 6);
}

TEST(Dib256, PaletteComesFromTheColourTableAsRgb) {
  std::vector<uint8_t> packed = PackedBitmap(2, 2, Pixels(2, 2));
  packed[40 + 4 * 7] = 30;      // blue
  packed[40 + 4 * 7 + 1] = 20;  // green
  packed[40 + 4 * 7 + 2] = 10;  // red
  packed[40 + 4 * 7 + 3] = 77;  // reserved, not passed on
  NDib256 dib(packed);
  PaletteEntry entries[3];
  dib.GetPalette(6, 3, entries);
  EXPECT_EQ(entries[0].red, 6);
  EXPECT_EQ(entries[1].red, 10);
  EXPECT_EQ(entries[1].green, 20);
  EXPECT_EQ(entries[1].blue, 30);
  EXPECT_EQ(entries[1].flags, 0);
  EXPECT_EQ(entries[2].blue, 8);
  PaletteEntry untouched{1, 2, 3, 4};
  dib.GetPalette(0, 0, &untouched);
  EXPECT_EQ(untouched.red, 1);

  NDib256 shipped(106);
  ASSERT_FALSE(shipped.IsEmpty());
  EXPECT_EQ(shipped.GetWidth(), 6);
  EXPECT_EQ(shipped.GetStride(), 8);
  PaletteEntry table[256];
  shipped.GetPalette(0, 256, table);
  EXPECT_EQ(table[0].red | table[0].green | table[0].blue, 0);
  EXPECT_EQ(table[255].red & table[255].green & table[255].blue, 255);
}

TEST(Dib256, RejectsBitmapsItCannotReadAndStaysEmpty) {
  const std::vector<uint8_t> good = PackedBitmap(5, 4, Pixels(5, 4));
  ASSERT_FALSE(NDib256(good).IsEmpty());
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> spoil;
  } cases[] = {
      {"4-bit", [](auto& b) { b[14] = 4; }},
      {"24-bit", [](auto& b) { b[14] = 24; }},
      {"run-length compressed", [](auto& b) { Put32(b, 16, 1); }},
      {"bit fields", [](auto& b) { Put32(b, 16, 3); }},
      {"core header", [](auto& b) { Put32(b, 0, 12); }},
      {"version 5 header", [](auto& b) { Put32(b, 0, 124); }},
      {"pixel data one byte short", [](auto& b) { b.pop_back(); }},
      {"no pixel rows at all", [](auto& b) { b.resize(1064); }},
      {"cut inside the colour table", [](auto& b) { b.resize(500); }},
      {"cut inside the header", [](auto& b) { b.resize(20); }},
      {"nothing", [](auto& b) { b.clear(); }},
      {"zero width", [](auto& b) { Put32(b, 4, 0); }},
      {"negative width", [](auto& b) { Put32(b, 4, static_cast<uint32_t>(-5)); }},
      {"zero height", [](auto& b) { Put32(b, 8, 0); }},
      {"absurd width", [](auto& b) { Put32(b, 4, 0x7FFFFFFF); }},
      {"absurd height", [](auto& b) { Put32(b, 8, 0x40000000); }},
      {"most negative height", [](auto& b) { Put32(b, 8, 0x80000000u); }},
      {"height beyond the rows", [](auto& b) { Put32(b, 8, 5); }},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bad = good;
    c.spoil(bad);
    NDib256 dib(bad);
    EXPECT_TRUE(dib.IsEmpty()) << c.what;
    EXPECT_EQ(dib.GetWidth(), 0) << c.what;
    EXPECT_EQ(dib.GetHeight(), 0) << c.what;
    // Through the resource table too, the way every caller loads.
    OverrideResource(ResourceType::Bitmap, 9100, bad);
    EXPECT_TRUE(NDib256(9100).IsEmpty()) << c.what;
  }
  ClearResourceOverrides();
  EXPECT_TRUE(NDib256(9100).IsEmpty());  // no such resource
  // Only the low 16 bits of an id count.
  EXPECT_FALSE(NDib256(106 + 0x10000).IsEmpty());
}
