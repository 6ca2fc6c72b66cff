// What the program carries, checked over every file of each kind: bitmaps
// share the one colour table, effects are 22050 Hz 8-bit mono, scripts hold
// commands, level maps hold sixteen levels of known cells.
#include <gtest/gtest.h>

#include <cstring>

#include "base/resources.h"
#include "game/map.h"
#include "generated/resource_ids.h"
#include "gfx/dib256.h"
#include "script/script.h"

TEST(Resources, EveryBitmapIsEightBitWithTheOneColourTable) {
  PaletteEntry shared[256];
  NDib256(bitmap::kPalette).GetPalette(0, 256, shared);
  EXPECT_EQ(shared[0].red + shared[0].green + shared[0].blue, 0);
  EXPECT_EQ(shared[255].red & shared[255].green & shared[255].blue, 255);
  auto ids = ResourceIds(ResourceType::Bitmap);
  EXPECT_GT(ids.size(), 80u);
  for (int id : ids) {
    NDib256 dib(id);
    ASSERT_FALSE(dib.IsEmpty()) << "bitmap " << id;
    PaletteEntry table[256];
    dib.GetPalette(0, 256, table);
    EXPECT_EQ(std::memcmp(table, shared, sizeof(table)), 0) << "bitmap " << id << " has a colour table of its own";
  }
}

TEST(Resources, EveryEffectIsA22050HzEightBitMonoWave) {
  auto ids = ResourceIds(ResourceType::Wave);
  EXPECT_EQ(ids.size(), 18u);
  for (int id : ids) {
    auto riff = FindResource(ResourceType::Wave, id);
    ASSERT_GE(riff.size(), 44u) << id;
    auto u16 = [&](size_t at) { return riff[at] | riff[at + 1] << 8; };
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(riff.data()) + 12, 4), "fmt ") << id;
    EXPECT_EQ(u16(20), 1) << id;                      // PCM
    EXPECT_EQ(u16(22), 1) << id;                      // one channel
    EXPECT_EQ(u16(24) | u16(26) << 16, 22050) << id;  // samples a second
    EXPECT_EQ(u16(34), 8) << id;                      // bits a sample
  }
}

TEST(Resources, ScriptsHoldCommandsAndMapsSixteenLevelsOfKnownCells) {
  const int maps[] = {level_map::kStage1, level_map::kStage2, level_map::kStage3, level_map::kStage4};
  for (int id : ResourceIds(ResourceType::Text)) {
    if (std::find(std::begin(maps), std::end(maps), id) == std::end(maps)) {
      EXPECT_GT(NScript(id).GetCount(), 0u) << "script " << id;
    }
  }
  for (int stage = 1; stage <= 4; ++stage) {
    NMap map;
    map.Load(stage);
    ASSERT_EQ(map.GetRowCount(), 96) << "stage " << stage;
    for (int level = 1; level <= 16; ++level) {
      map.SetLevel(level);
      // A boss level holds its letter in the first cell and nothing else.
      bool boss = map.GetCell(0, 0) >= 'A' && map.GetCell(0, 0) <= 'E';
      for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 11; ++column) {
          char c = map.GetCell(column, row);
          bool known = boss ? c == (row + column ? '0' : map.GetCell(0, 0)) : (c >= '0' && c <= '9') || c == 'X';
          EXPECT_TRUE(known) << stage << "-" << level << " row " << row << " column " << column << ": " << c;
        }
      }
    }
  }
}
