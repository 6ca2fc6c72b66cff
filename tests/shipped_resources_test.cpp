#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "audio/wave_reader.h"
#include "base/resources.h"
#include "gfx/dib256.h"
#include "script/script.h"

namespace {

struct BitmapSpec {
  int id, width, height, frames;
  bool keyed;  // drawn with the colour key: the top-left pixel is the key
};

// Every bitmap the program loads, with the size its users rely on.
const BitmapSpec kBitmaps[] = {
#include "tests/bitmap_table.inc"
};

constexpr uint8_t kKey = 10;

}  // namespace

TEST(ShippedBitmaps, AreEightBitWithExactSizesAndTheOneColourTable) {
  NDib256 paletteCarrier(106);
  ASSERT_FALSE(paletteCarrier.IsEmpty());
  PaletteEntry shared[256];
  paletteCarrier.GetPalette(0, 256, shared);
  EXPECT_EQ(shared[0].red + shared[0].green + shared[0].blue, 0);
  EXPECT_EQ(shared[255].red & shared[255].green & shared[255].blue, 255);
  std::set<int> known;
  for (const BitmapSpec& b : kBitmaps) {
    known.insert(b.id);
    NDib256 dib(b.id);
    ASSERT_FALSE(dib.IsEmpty()) << "bitmap " << b.id << " missing or unreadable";
    EXPECT_EQ(dib.GetWidth(), b.width) << b.id;
    EXPECT_EQ(dib.GetHeight(), b.height) << b.id;
    EXPECT_EQ(b.height % b.frames, 0) << b.id;
    PaletteEntry table[256];
    dib.GetPalette(0, 256, table);
    EXPECT_EQ(std::memcmp(table, shared, sizeof(table)), 0) << b.id << " has its own colour table";
    if (b.keyed) {
      EXPECT_EQ(dib.PixelAt(0, 0), kKey) << b.id;
    }
  }
  for (int id : ResourceIds(ResourceType::Bitmap)) EXPECT_TRUE(known.count(id)) << "unexpected bitmap " << id;
}

TEST(ShippedWaves, AreTheEighteenEffectsAs22050HzEightBitMono) {
  const int ids[] = {142, 144, 143, 145, 182, 183, 184, 185, 186, 201, 202, 203, 213, 243, 245, 274, 273, 310};
  for (int id : ids) {
    auto riff = FindResource(ResourceType::Wave, id);
    ASSERT_GE(riff.size(), 44u) << id;
    // The canonical header: "fmt " of 16 bytes, PCM, one channel, 22050 Hz, 8 bits.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(riff.data()) + 12, 4), "fmt ") << id;
    auto u16 = [&](size_t at) { return riff[at] | riff[at + 1] << 8; };
    auto u32 = [&](size_t at) { return static_cast<uint32_t>(u16(at) | u16(at + 2) << 16); };
    EXPECT_EQ(u16(20), 1) << id;
    EXPECT_EQ(u16(22), 1) << id;
    EXPECT_EQ(u32(24), 22050u) << id;
    EXPECT_EQ(u16(34), 8) << id;
    EXPECT_GT(ReadWaveSamples(riff).size(), 1000u) << id;
  }
  EXPECT_EQ(ResourceIds(ResourceType::Wave).size(), 18u);
}

TEST(ShippedScripts, ParseToTheirKnownRecordCounts) {
  EXPECT_EQ(NScript(131).GetCount(), 161u);
  EXPECT_EQ(NScript(165).GetCount(), 7u);
  EXPECT_EQ(NScript(259).GetCount(), 199u);
  for (int id : ResourceIds(ResourceType::Text)) {
    if (id == 198 || id == 199 || id == 200 || id == 294) continue;  // level maps
    EXPECT_GT(NScript(id).GetCount(), 0u) << "script " << id << " is empty";
  }
}
