#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "base/math_util.h"
#include "game/bullet_list.h"
#include "game/enemy_list.h"
#include "game/explode_list.h"
#include "game/fire_list.h"
#include "game/map.h"
#include "game/potion_list.h"
#include "gfx/display.h"
#include "tests/sound_spy.h"

namespace {

struct StillPlayer : PlayerView {
  int GetCenterX() const override { return 320; }
  int GetCenterY() const override { return 428; }
};

// A level from its rows; rows left out are empty, as in the shipped maps.
NMap MapOf(std::string rows, bool pad = true) {
  for (size_t n = static_cast<size_t>(std::count(rows.begin(), rows.end(), '\n')); pad && n < 6; ++n) {
    rows += "00000000000\n";
  }
  NStringList lines;
  lines.LoadFromBytes({reinterpret_cast<const uint8_t*>(rows.data()), rows.size()});
  NMap map;
  map.LoadLines(lines);
  map.SetLevel(1);
  return map;
}

class FormationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillDirectionTables();
    SeedRandom(11);
    CreateDisplay(nullptr);
    SetDisplayMode();
  }
  void TearDown() override { ReleaseDisplay(); }
  NEnemyList enemies;
  NBulletList bullets;
  StillPlayer player;
  SoundSpy sounds;
};

}  // namespace

TEST_F(FormationTest, StageOneLevelOneLaysOutTwentyOneEnemiesInThreeRows) {
  NMap map;
  map.Load(1);
  map.SetLevel(1);
  EXPECT_EQ(enemies.BuildFormation(map), 0);
  ASSERT_EQ(enemies.Count(), 21);
  EXPECT_EQ(enemies.Get(0)->GetCenterX(), 188);
  EXPECT_EQ(enemies.Get(0)->GetY(), 32);
  EXPECT_EQ(enemies.Get(7)->GetY(), 74);    // kind 2 is 38 high
  EXPECT_EQ(enemies.Get(14)->GetY(), 120);  // kind 1 is 42 high
  EXPECT_EQ(enemies.Get(6)->GetCenterX(), 188 + 6 * 44);
  EXPECT_EQ(enemies.Get(0)->GetHitPoints(), 3);
  EXPECT_EQ(enemies.Get(7)->GetHitPoints(), 1);
  EXPECT_EQ(enemies.Get(7)->GetFireChance(), 900);
  // Every enemy its own delay: 60, 94, ... 60 + 34 * 20.
  std::set<int> delays;
  for (int i = 0; i < 21; ++i) delays.insert(enemies.Get(i)->GetDiveDelay());
  EXPECT_EQ(delays.size(), 21u);
  EXPECT_EQ(*delays.begin(), 60);
  EXPECT_EQ(*delays.rbegin(), 60 + 34 * 20);
}

TEST_F(FormationTest, EmptyRowsAddNoHeightAndABossLetterEndsTheBuild) {
  NMap gap = MapOf("00000000000\n00000000000\n00001000000\n00000000000\n00000200000\n00000000000\n");
  EXPECT_EQ(enemies.BuildFormation(gap), 0);
  ASSERT_EQ(enemies.Count(), 2);
  EXPECT_EQ(enemies.Get(0)->GetY(), 32);
  EXPECT_EQ(enemies.Get(1)->GetY(), 32 + 42 + 4);
  enemies.Clear();
  NMap boss = MapOf("A0000000000\n00000000000\n00000000000\n00000000000\n00000000000\n00000000000\n");
  EXPECT_EQ(enemies.BuildFormation(boss), 'A');
  EXPECT_EQ(enemies.Count(), 0);
  NMap shortRow = MapOf("0011\n", false);  // a short map reads NUL and stops, with no dive schedule
  EXPECT_EQ(enemies.BuildFormation(shortRow), 0);
  ASSERT_EQ(enemies.Count(), 2);
  EXPECT_EQ(enemies.Get(0)->GetDiveDelay(), 0);
}

TEST_F(FormationTest, TheWholeBlockTurnsWhenOneMemberTouchesTheBorder) {
  NMap map = MapOf("10000000001\n11111111111\n00000000000\n00000000000\n00000000000\n00000000000\n");
  enemies.BuildFormation(map);
  int frames = 0;
  while (enemies.Get(0)->GetDirection() == 0 && frames < 100) {
    enemies.Update(bullets, player);
    ++frames;
  }
  // The right member (right edge 559 + 19 at the start) touches 640 first.
  for (int i = 0; i < enemies.Count(); ++i) {
    if (enemies.Get(i)->GetMode() == 0) {
      EXPECT_EQ(enemies.Get(i)->GetDirection(), 16) << i;
    }
  }
  EXPECT_GT(enemies.Get(1)->GetX() + enemies.Get(1)->GetWidth(), 640);
  EXPECT_LT(frames, 60);  // before anyone dives
}

TEST_F(FormationTest, DiversLeaveOnScheduleAndComeBackFromTheTop) {
  NMap map = MapOf("00000100000\n");
  enemies.BuildFormation(map);
  NEnemyChara* e = enemies.Get(0);
  ASSERT_EQ(e->GetDiveDelay(), 60);
  for (int f = 0; f < 61; ++f) enemies.Update(bullets, player);
  EXPECT_EQ(e->GetMode(), 1);  // the 61st frame switches it
  // Wherever its script takes it, a diver below the screen re-enters above.
  e->SetPosition(123, 480);
  enemies.Update(bullets, player);
  EXPECT_EQ(e->GetY(), -20 - e->GetHeight());
}

TEST_F(FormationTest, ShotsDamageSparkAndKillWithAPotion) {
  NMap map = MapOf("00000500000\n");  // a large bat, 20 hit points
  enemies.BuildFormation(map);
  NFireList shots;
  NExplodeList explosions;
  NPotionList potions;
  NEnemyChara* bat = enemies.Get(0);
  int hits = 0;
  while (enemies.Get(0) && hits < 30) {
    shots.Fire(bat->GetCenterX(), bat->GetCenterY() + 12, 0);
    sounds.played.clear();
    enemies.TakeShots(shots, explosions, potions);
    ++hits;
    if (enemies.Get(0)) {
      EXPECT_EQ(sounds.Count(1), 1) << "a spark for hit " << hits;
      explosions.Clear();
    }
  }
  EXPECT_EQ(hits, 20);
  EXPECT_EQ(sounds.Count(2), 1);
  EXPECT_EQ(potions.Count(), 1);
  EXPECT_EQ(shots.CountFreeSlots(), 12);
}

TEST_F(FormationTest, AKillDropsNoPotionWhenTwentyFiveAreOut) {
  NPotionList potions;
  for (int i = 0; i < 30; ++i) potions.AddPotion(20 * i, 100, i % 3);
  EXPECT_EQ(potions.Count(), 25);
  NMap map = MapOf("00000100000\n");
  enemies.BuildFormation(map);
  NFireList shots;
  NExplodeList explosions;
  NEnemyChara* e = enemies.Get(0);
  shots.Fire(e->GetCenterX(), e->GetCenterY(), 0);
  enemies.TakeShots(shots, explosions, potions);
  EXPECT_EQ(enemies.Count(), 0);
  EXPECT_EQ(potions.Count(), 25);
}

TEST(PowerLevel, CountsTheThresholdsReached) {
  const int counts[] = {0, 49, 50, 99, 100, 149, 150, 200, 249, 250, 9999};
  const int levels[] = {0, 0, 1, 1, 2, 2, 3, 4, 4, 5, 5};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(PowerLevelFor(counts[i]), levels[i]) << counts[i];
}
