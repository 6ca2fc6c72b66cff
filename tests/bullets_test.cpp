#include <gtest/gtest.h>

#include <set>

#include "base/math_util.h"
#include "game/bullet_list.h"
#include "game/sounds.h"
#include "gfx/display.h"
#include "tests/sound_spy.h"

namespace {

struct FixedPlayer : PlayerView {
  int cx = 0, cy = 0;
  int GetCenterX() const override { return cx; }
  int GetCenterY() const override { return cy; }
};

class BulletsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillDirectionTables();
    SeedRandom(3);
    CreateDisplay(nullptr);
    SetDisplayMode();
    bullets.SetTarget(&player);
  }
  void TearDown() override { ReleaseDisplay(); }
  int Count() const { return NBulletList::kSlots - bullets.CountFreeSlots(); }
  void Fill(int leaveFree) {
    while (bullets.CountFreeSlots() > leaveFree) bullets.Shoot(320, 200, 1);
  }
  NBulletList bullets;
  FixedPlayer player;
  SoundSpy sounds;
};

}  // namespace

TEST_F(BulletsTest, EachPatternFiresItsCountWholeOrNotAtAll) {
  // (pattern, bullets); every other number fires nothing.
  const int counts[22] = {0, 1, 0, 1, 1, 3, 5, 1, 3, 4, 4, 1, 1, 1, 4, 1, 1, 1, 0, 0, 16, 16};
  for (int p = -3; p < 130; ++p) {
    bullets.Clear();
    int reduced = p >= 100 ? p - 100 : p;
    int want = reduced >= 0 && reduced < 22 ? counts[reduced] : 0;
    bullets.Shoot(320, 200, p, &player);
    EXPECT_EQ(Count(), want) << "pattern " << p;
  }
  bullets.Clear();
  Fill(2);
  sounds.played.clear();
  bullets.Shoot(320, 200, 5);  // needs three
  EXPECT_EQ(bullets.CountFreeSlots(), 2);
  bullets.Clear();
  Fill(3);
  bullets.Shoot(320, 200, 5);
  EXPECT_EQ(bullets.CountFreeSlots(), 0);
  bullets.Clear();
  Fill(15);
  sounds.played.clear();
  bullets.Shoot(320, 200, 20);  // a ring needs 16 and plays nothing when refused
  EXPECT_EQ(bullets.CountFreeSlots(), 15);
  EXPECT_TRUE(sounds.played.empty());
}

TEST_F(BulletsTest, RingsCoverTheCompassTurnedByOneStep) {
  bullets.Shoot(320, 200, 20);
  bullets.Shoot(320, 200, 21);
  std::set<int> directions;
  for (int i = 0; i < 32; ++i) {
    NBulletChara* b = bullets.Get(i);
    ASSERT_NE(b, nullptr);
    EXPECT_FLOAT_EQ(b->GetSpeed(), 9.0f);
    directions.insert(b->GetDirection() % 32);
  }
  EXPECT_EQ(directions.size(), 32u);
  EXPECT_EQ(sounds.Count(sound::kEnemyVolley), 2);
}

TEST_F(BulletsTest, AimedBulletsStayInTheDownwardCone) {
  struct Case {
    int px, py, direction;
  } cases[] = {{320, 400, 24}, {500, 200, 27}, {500, 50, 27}, {320, 10, 21},
               {100, 50, 21},  {100, 200, 21}, {250, 400, 22}};
  for (const Case& c : cases) {
    bullets.Clear();
    player.cx = c.px;
    player.cy = c.py;
    bullets.Shoot(320, 200, 3);
    ASSERT_NE(bullets.Get(0), nullptr);
    EXPECT_EQ(bullets.Get(0)->GetDirection(), c.direction) << c.px << "," << c.py;
  }
}

TEST_F(BulletsTest, UpperLayerPatternsAndTheRain) {
  bullets.Shoot(320, 200, 107);
  ASSERT_NE(bullets.Get(0), nullptr);
  EXPECT_EQ(bullets.Get(0)->layer, 0);
  int d = bullets.Get(0)->GetDirection();
  EXPECT_TRUE(d >= 21 && d <= 27);
  bullets.Shoot(320, 200, 7);
  EXPECT_EQ(bullets.Get(1)->layer, 1);
  for (int i = 0; i < 20; ++i) {
    bullets.Clear();
    bullets.Shoot(320, 200, 113);
    NBulletChara* rain = bullets.Get(0);
    ASSERT_NE(rain, nullptr);
    EXPECT_EQ(rain->GetCenterY(), -19);
    EXPECT_EQ(rain->GetY() + rain->GetHeight(), 0);  // wholly above the top edge
    EXPECT_GE(rain->GetCenterX(), 0);
    EXPECT_LT(rain->GetCenterX(), 640);
    EXPECT_FLOAT_EQ(rain->GetSpeed(), 16.0f);
    bullets.Update();  // the margin above the top keeps it
    EXPECT_NE(bullets.Get(0), nullptr);
  }
}

TEST_F(BulletsTest, BulletsLeaveAtTheEdgesAndTwoHundredPixelsAboveTheTop) {
  bullets.Shoot(320, 10, 12);  // rises at 20 a frame
  NBulletChara* flame = bullets.Get(0);
  ASSERT_NE(flame, nullptr);
  int frames = 0;
  while (bullets.Get(0) && frames < 100) {
    bullets.Update();
    ++frames;
  }
  // The flame's top starts at -9 and is removed once at -200 or above.
  EXPECT_EQ(frames, 10);
  bullets.Shoot(320, 470, 1);  // top at 460, falling 8 a frame
  bullets.Update();
  bullets.Update();
  EXPECT_NE(bullets.Get(0), nullptr);  // top at 476
  bullets.Update();
  EXPECT_EQ(bullets.Get(0), nullptr);  // top at 484: gone
}

TEST_F(BulletsTest, BeamSegmentsFiredThreeFramesApartJoin) {
  bullets.Shoot(320, 100, 15);
  for (int i = 0; i < 3; ++i) bullets.Update();
  bullets.Shoot(320, 100, 16);
  for (int i = 0; i < 3; ++i) bullets.Update();
  bullets.Shoot(320, 100, 17);
  NBulletChara* head = bullets.Get(0);
  NBulletChara* middle = bullets.Get(1);
  NBulletChara* tail = bullets.Get(2);
  ASSERT_TRUE(head && middle && tail);
  EXPECT_EQ(middle->GetY() + middle->GetHeight(), head->GetY());
  EXPECT_EQ(tail->GetY() + tail->GetHeight(), middle->GetY());
  EXPECT_EQ(sounds.Count(sound::kEnemyVolley), 1);  // only the head is heard
}
