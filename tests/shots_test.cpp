#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "base/math_util.h"
#include "game/fire_list.h"
#include "game/sounds.h"
#include "gfx/display.h"
#include "tests/sound_spy.h"

namespace {

class ShotsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillDirectionTables();
    CreateDisplay(nullptr);
    SetDisplayMode();
  }
  void TearDown() override { ReleaseDisplay(); }
  int Count() const { return NFireList::kSlots - shots.CountFreeSlots(); }
  NFireList shots;
  SoundSpy sounds;
};

}  // namespace

TEST_F(ShotsTest, VolleysGrowWithPowerAndNeedRoomToSpare) {
  // (power level, shots per volley, most shots on screen)
  const std::pair<int, int> levels[] = {{1, 3}, {2, 4}, {3, 6}, {4, 8}, {5, 10}, {6, 12}};
  for (int power = 0; power <= 5; ++power) {
    shots.Clear();
    sounds.played.clear();
    for (int press = 0; press < 10; ++press) shots.Fire(320, 428, power);
    EXPECT_EQ(Count(), levels[power].second) << "power " << power;
    EXPECT_EQ(sounds.Count(sound::kVolley) * levels[power].first, Count()) << "one sound per volley fired";
  }
  shots.Clear();
  sounds.played.clear();
  shots.Fire(320, 428, 6);
  shots.Fire(320, 428, -1);
  EXPECT_EQ(Count(), 0);
  EXPECT_TRUE(sounds.played.empty());
}

TEST_F(ShotsTest, PowerFiveFansOutFromThePlayersCentre) {
  shots.Fire(320, 428, 5);
  // Creation order: small 6, small 10, small 7, small 9, large 8, large 8.
  struct Want {
    int direction, cx, cy, width;
  } want[] = {{6, 330, 428, 10}, {10, 310, 428, 10}, {7, 325, 428, 10},
              {9, 315, 428, 10}, {8, 309, 421, 11},  {8, 331, 421, 11}};
  for (int i = 0; i < 6; ++i) {
    NFireChara* s = shots.Get(i);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetDirection(), want[i].direction) << i;
    EXPECT_EQ(s->GetWidth(), want[i].width) << i;
    EXPECT_EQ(s->GetCenterX(), want[i].cx) << i;
    EXPECT_EQ(s->GetCenterY(), want[i].cy) << i;
    EXPECT_EQ(s->damage, 1);
  }
  shots.Fire(320, 428, 5);  // exactly 6 free: fills all 12
  EXPECT_EQ(Count(), 12);
}

TEST_F(ShotsTest, ShotsFlyUpAndVanishOnceWhollyOffScreen) {
  shots.Fire(320, 40, 0);
  NFireChara* s = shots.Get(0);
  ASSERT_NE(s, nullptr);
  int y = s->GetY();
  shots.Update();
  ASSERT_EQ(shots.Get(0), s);
  EXPECT_EQ(s->GetY(), y - 24);
  EXPECT_EQ(s->GetY(), -1);  // one row still on screen
  shots.Update();            // top at -25, below -21: gone
  EXPECT_EQ(shots.Get(0), nullptr);
}
