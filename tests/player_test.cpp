#include <gtest/gtest.h>

#include "base/math_util.h"
#include "game/explode_list.h"
#include "game/player.h"
#include "game/sounds.h"
#include "gfx/display.h"
#include "tests/sound_spy.h"

namespace {

struct Deaths : PlayerEvents {
  int count = 0;
  void OnLastLifeLost() override { ++count; }
};

class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillDirectionTables();
    CreateDisplay(nullptr);
    SetDisplayMode();
  }
  void TearDown() override { ReleaseDisplay(); }
  Deaths deaths;
  NMyChara player{&deaths};
  NExplodeList explosions;
  SoundSpy sounds;
};

}  // namespace

TEST_F(PlayerTest, StartsWithFiveLivesAndStaysOnTheScreen) {
  EXPECT_EQ(player.GetWidth(), 46);
  EXPECT_EQ(player.GetHeight(), 46);
  EXPECT_FLOAT_EQ(player.GetSpeed(), 8.0f);
  EXPECT_EQ(player.lives, 5);
  player.SetPosition(590, 405);
  player.SetDirection(0);
  player.Move();
  EXPECT_EQ(player.GetX(), 594);
  player.SetPosition(3, 405);
  player.SetDirection(16);
  player.Move();
  EXPECT_EQ(player.GetX(), 0);
  EXPECT_EQ(player.GetY(), 405);
  player.SetDirection(-1);
  player.Move();
  EXPECT_EQ(player.GetX(), 0);
}

TEST_F(PlayerTest, AHitCostsOneLifeThenSheBlinksForSeventyFiveFrames) {
  player.Hit(explosions);
  player.Hit(explosions);  // a second touch in the same frame costs nothing
  EXPECT_EQ(player.lives, 4);
  EXPECT_EQ(player.playerState, NMyChara::kInvulnerable);
  EXPECT_EQ(sounds.Count(sound::kPlayerHit), 1);
  EXPECT_NE(player.Look(), &player);  // the pale look
  int immune = 0;
  while (player.playerState == NMyChara::kInvulnerable) {
    player.CountInvulnerability();
    ++immune;
  }
  EXPECT_EQ(immune, 75);
  EXPECT_EQ(player.Look(), &player);
  player.Hit(explosions);
  EXPECT_EQ(player.lives, 3);
}

TEST_F(PlayerTest, TheLastLifeEndsTheGameWithASmallExplosion) {
  player.lives = 1;
  player.SetPosition(100, 405);
  player.Hit(explosions);
  EXPECT_EQ(player.lives, 0);
  EXPECT_EQ(player.playerState, NMyChara::kDead);
  EXPECT_EQ(deaths.count, 1);
  EXPECT_EQ(player.Look(), nullptr);
  ASSERT_EQ(explosions.Count(), 1);
  EXPECT_EQ(explosions.Get(0)->GetWidth(), 36);
  EXPECT_EQ(explosions.Get(0)->GetCenterX(), 123);
  EXPECT_EQ(sounds.Count(sound::kExplosionSmall), 1);
  player.Hit(explosions);  // the dead are not hit again
  EXPECT_EQ(deaths.count, 1);
}

TEST_F(PlayerTest, ANeverHitPlayerIgnoresEverything) {
  player.SetNeverHit(true);
  for (int i = 0; i < 10; ++i) player.Hit(explosions);
  EXPECT_EQ(player.lives, 5);
  EXPECT_EQ(player.playerState, NMyChara::kNormal);
}

TEST(Explosions, PlayTheirFramesOnceThenVanish) {
  CreateDisplay(nullptr);
  SetDisplayMode();
  SoundSpy sounds;
  NExplodeList list;
  list.Spawn(100, 100, NExplodeList::kLarge, true);
  list.Spawn(100, 100, NExplodeList::kSmall, false);
  list.Spawn(100, 100, 0, true);
  list.Spawn(100, 100, 3, true);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(sounds.played, (std::vector<int>{sound::kExplosionLarge}));
  // Spawned in the collision step, advanced before first drawn: the large
  // one shows frames 1..8, the small one 1..4.
  int seenLarge = 0;
  int seenSmall = 0;
  for (int frame = 0; frame < 20; ++frame) {
    list.Update();
    seenLarge += list.Get(0) != nullptr;
    seenSmall += list.Get(1) != nullptr;
  }
  EXPECT_EQ(seenLarge, 8);
  EXPECT_EQ(seenSmall, 4);
  for (int i = 0; i < 45; ++i) list.Spawn(10 * i, 100, NExplodeList::kLarge, false);
  EXPECT_EQ(list.Count(), 40);
  sounds.played.clear();
  list.Spawn(0, 0, NExplodeList::kSmall, true);  // full: no explosion, no sound
  EXPECT_TRUE(sounds.played.empty());
  ReleaseDisplay();
}
