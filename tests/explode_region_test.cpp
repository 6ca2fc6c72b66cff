#include <gtest/gtest.h>

#include "base/math_util.h"
#include "game/explode_list.h"
#include "game/explode_region_list.h"
#include "game/potion_list.h"
#include "game/sounds.h"
#include "gfx/display.h"
#include "tests/sound_spy.h"

namespace {

// What one region set off, frame by frame. The lists are emptied after
// every frame, so no explosion or potion is lost to full slots.
struct Tally {
  int explosions = 0;
  int potions = 0;
  int lifePotions = 0;
  int outside = 0;  // explosions or potions off the region's rectangle
  std::vector<int> soundFrames;
  int lifeX = 0, lifeY = 0;
};

class RegionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillDirectionTables();
    SeedRandom(7);
    CreateDisplay(nullptr);
    SetDisplayMode();
    strip = CreateOffscreenSurface(30, 80);  // two frames of 30x40
    strip->FillAll(1);
  }
  void TearDown() override { ReleaseDisplay(); }

  Tally Run(int frames, bool drops, int x, int y) {
    NSprite256 part(*strip, 2);
    part.SetPosition(x, y);
    regions.Add(part, frames, drops);
    Tally t;
    for (int frame = 1; !regions.IsEmpty(); ++frame) {
      size_t before = sounds.played.size();
      regions.Update();
      for (size_t i = before; i < sounds.played.size(); ++i) {
        if (sounds.played[i] == sound::kExplosionLarge) t.soundFrames.push_back(frame);
      }
      for (int s = 0; s < NExplodeList::kSlots; ++s) {
        if (const NSprite256* e = explosions.Get(s)) {
          ++t.explosions;
          t.outside += !Inside(e->GetCenterX(), e->GetCenterY(), x, y);
        }
      }
      for (int s = 0; s < NPotionList::kSlots; ++s) {
        const NPotionChara* p = potions.Get(s);
        if (!p) continue;
        if (p->GetKind() == NPotionChara::kLifePotion) {
          ++t.lifePotions;
          t.lifeX = p->GetCenterX();
          t.lifeY = p->GetCenterY();
        } else {
          ++t.potions;
          t.outside += !Inside(p->GetCenterX(), p->GetCenterY(), x, y);
        }
      }
      explosions.Clear();
      potions.Clear();
    }
    return t;
  }
  static bool Inside(int px, int py, int x, int y) { return px >= x && px < x + 30 && py >= y && py < y + 40; }

  std::unique_ptr<Surface> strip;
  SoundSpy sounds;
  NExplodeList explosions;
  NPotionList potions;
  NExplodeRegionList regions{&explosions, &potions};
};

}  // namespace

TEST_F(RegionTest, ABodyBurnsAHundredFramesAndScattersItsReward) {
  Tally t = Run(100, true, 200, 100);
  EXPECT_EQ(t.explosions, 200);
  EXPECT_EQ(t.soundFrames.size(), 25u);
  EXPECT_EQ(t.potions, 25);
  EXPECT_EQ(t.lifePotions, 1);
  EXPECT_EQ(t.lifeX, 215);  // in the middle of the part's frame
  EXPECT_EQ(t.lifeY, 120);
  EXPECT_EQ(t.outside, 0);
}

TEST_F(RegionTest, APartBurnsFortyEightFramesSoundingFromTheFirst) {
  Tally t = Run(48, false, -10, 300);
  EXPECT_EQ(t.explosions, 96);
  EXPECT_EQ(t.potions + t.lifePotions, 0);
  ASSERT_EQ(t.soundFrames.size(), 12u);
  EXPECT_EQ(t.soundFrames.front(), 1);
  EXPECT_EQ(t.soundFrames.back(), 45);  // four frames before the end
  EXPECT_EQ(t.soundFrames[1], 5);
}

TEST_F(RegionTest, ALongRegionOutlivesTwoThatEndTogether) {
  NSprite256 part(*strip, 2);
  regions.Add(part, 8, false);
  regions.Update();
  regions.Update();
  regions.Add(part, 20, true);
  regions.Add(part, 6, false);
  for (int frame = 0; frame < 5; ++frame) regions.Update();
  EXPECT_EQ(regions.Regions().size(), 3u);
  regions.Update();
  ASSERT_EQ(regions.Regions().size(), 1u);
  EXPECT_EQ(regions.Regions().front().framesLeft, 14);
  regions.Clear();
  EXPECT_TRUE(regions.IsEmpty());
}

TEST_F(RegionTest, TheLifePotionIsSkippedWhenThePotionsFillEverySlot) {
  NSprite256 part(*strip, 2);
  part.SetPosition(300, 200);
  regions.Add(part, 100, true);
  for (int frame = 0; frame < 100; ++frame) regions.Update();
  EXPECT_TRUE(regions.IsEmpty());
  ASSERT_EQ(potions.Count(), NPotionList::kSlots);
  int life = 0;
  for (int s = 0; s < NPotionList::kSlots; ++s) life += potions.Get(s)->GetKind() == NPotionChara::kLifePotion;
  EXPECT_EQ(life, 0);
}
