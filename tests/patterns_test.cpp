// Enemy bullet patterns by what a script's SHOOT makes of them: how many
// bullets, their speeds, directions and starting points, their layer and
// their sound; and how bullets fly and leave the playfield.
#include <gtest/gtest.h>

#include <set>

#include "game/bullet_list.h"
#include "game/enemy_chara.h"
#include "game/player.h"
#include "game/table_boss.h"
#include "tests/doubles.h"

namespace {

constexpr int kNone = -1;

class Patterns : public WorldTest {
 protected:
  // A part centred on (320, 200) runs "SET_BULLET_OFFSET 5,-40", "SHOOT p"
  // with the player straight below it.
  void Fire(int pattern) {
    NScript script = ScriptOf("SET_BULLET_OFFSET 5,-40\nSHOOT " + std::to_string(pattern) + "\nSTOP 9\n");
    NEnemyChara part(Surface(40, 40), &script, 1, 1);
    part.SetCenter(320, 200);
    world.playerX = 320;
    world.playerY = 440;
    bullets.SetTarget(&world);
    part.RunScript(bullets, world, world, world);
  }
  int Count() const { return NBulletList::kSlots - bullets.CountFreeSlots(); }
  // The bullets' directions in firing order, as "d d d".
  std::string Directions() const {
    std::string out;
    for (int i = 0; i < Count(); ++i) out += (i ? " " : "") + std::to_string(bullets.Get(i)->GetDirection());
    return out;
  }
  TestWorld world;
  NBulletList bullets;
};

}  // namespace

TEST_F(Patterns, EachPatternFiresItsBulletsFromTheShotPointWithOneSound) {
  struct Case {
    int pattern;
    float speed;
    const char* directions;
    int sound;
  } cases[] = {
      {1, 8, "24", kNone},
      {3, 7, "24", kNone},  // aimed at the player below
      {4, 9, "24", 13},
      {5, 7, "22 26 24", kNone},
      {6, 7, "20 28 22 26 24", kNone},
      {8, 9, "21 27 24", 13},
      {9, 7, "21 27 23 25", kNone},
      {10, 9, "21 27 23 25", 13},
      {11, 20, "24", 13},
      {12, 20, "8", 14},
      {14, 12, "21 27 23 25", 14},
      {15, 16, "24", 13},
      {16, 16, "24", kNone},
      {17, 16, "24", kNone},
      {20, 9, "24 26 28 30 32 34 36 38 40 42 44 46 48 50 52 54", 13},
      {21, 9, "25 27 29 31 33 35 37 39 41 43 45 47 49 51 53 55", 13},
  };
  for (const Case& c : cases) {
    for (int layer : {1, 0}) {
      SCOPED_TRACE("pattern " + std::to_string(c.pattern + (layer ? 0 : 100)));
      bullets.Clear();
      sounds->played.clear();
      Fire(c.pattern + (layer ? 0 : 100));
      EXPECT_EQ(Directions(), c.directions);
      for (int i = 0; i < Count(); ++i) {
        const NBulletChara& b = *bullets.Get(i);
        EXPECT_EQ(b.GetSpeed(), c.speed);
        EXPECT_EQ(b.GetCenterX(), 325);
        EXPECT_EQ(b.GetCenterY(), 160);
        EXPECT_EQ(b.layer, layer);  // 100 and more: drawn over the enemies and the boss
      }
      EXPECT_EQ(sounds->played, c.sound == kNone ? std::vector<int>{} : std::vector<int>{c.sound});
    }
  }
  for (int nothing : {0, 2, 18, 19, 22, 99, 102, 122, -1}) {
    bullets.Clear();
    Fire(nothing);
    EXPECT_EQ(Count(), 0) << nothing;
  }
}

TEST_F(Patterns, RandomDirectionsTheRainAndAimingStayInTheirBounds) {
  std::set<int> seen;
  for (int i = 0; i < 200; ++i) {
    bullets.Clear();
    Fire(7);
    ASSERT_EQ(Count(), 1);
    seen.insert(bullets.Get(0)->GetDirection());
    EXPECT_EQ(bullets.Get(0)->GetCenterY(), 160);
  }
  EXPECT_EQ(seen, (std::set<int>{21, 22, 23, 24, 25, 26, 27}));
  // The rain ignores the shooter: it starts just above the top edge anywhere.
  std::set<int> columns;
  for (int i = 0; i < 50; ++i) {
    bullets.Clear();
    Fire(13);
    const NBulletChara& b = *bullets.Get(0);
    EXPECT_EQ(b.GetCenterY(), -19);
    EXPECT_EQ(b.GetDirection(), 24);
    EXPECT_EQ(b.GetSpeed(), 16);
    EXPECT_GE(b.GetCenterX(), 0);
    EXPECT_LT(b.GetCenterX(), 640);
    columns.insert(b.GetCenterX() / 64);
  }
  EXPECT_GE(columns.size(), 8u);
  // Aimed bullets keep inside the downward cone 21..27.
  struct Aim {
    int x, y, direction;
  } aims[] = {{600, 200, 27}, {600, 0, 27}, {320, 0, 21}, {0, 200, 21}, {0, 440, 21}, {600, 440, 27}};
  for (const Aim& a : aims) {
    world.playerX = a.x;
    world.playerY = a.y;
    bullets.Clear();
    bullets.Shoot(320, 200, 3, &world);
    EXPECT_EQ(bullets.Get(0)->GetDirection(), a.direction) << a.x << "," << a.y;
  }
}

TEST_F(Patterns, AVolleyIsFiredWholeOrNotAtAll) {
  auto fillLeaving = [&](int free) {
    bullets.Clear();
    while (bullets.CountFreeSlots() > free) bullets.Shoot(320, 200, 1, &world);
    sounds->played.clear();
  };
  fillLeaving(2);
  Fire(8);  // three bullets
  EXPECT_EQ(bullets.CountFreeSlots(), 2);
  EXPECT_TRUE(sounds->played.empty());
  fillLeaving(3);
  Fire(8);
  EXPECT_EQ(bullets.CountFreeSlots(), 0);
  EXPECT_EQ(sounds->played, std::vector<int>{13});
  fillLeaving(15);
  Fire(21);
  EXPECT_EQ(bullets.CountFreeSlots(), 15);
}

TEST_F(Patterns, BulletsFlyStraightAndLeaveTheFieldTwoHundredPixelsAboveTheTop) {
  Fire(12);  // straight up at 20 from a centre at y 160 (top 141)
  int updates = 0;
  while (bullets.Get(0) && updates < 100) {
    EXPECT_EQ(bullets.Get(0)->GetY(), 141 - 20 * updates);
    bullets.Update();
    ++updates;
  }
  EXPECT_EQ(updates, 18);  // gone once its top is at -200 or above
  bullets.Clear();
  Fire(11);  // down at 20 from a top at 109: gone once its top reaches 480
  for (updates = 0; bullets.Get(0) && updates < 100; ++updates) bullets.Update();
  EXPECT_EQ(updates, 19);
}

TEST_F(Patterns, BossFivesHeadSpitsFourFallingFlamesOverItselfWithOneFlameSound) {
  auto boss = MakeBoss('E');
  boss->CreateParts();
  struct NoGame : PlayerEvents {
    void OnLastLifeLost() override {}
  } game;
  NMyChara player(&game);
  NBulletList flames;
  flames.SetTarget(&player);
  int frames = 0;
  while (flames.CountFreeSlots() == NBulletList::kSlots && frames < 1000) {
    boss->Update(flames, player);
    ++frames;
  }
  const NEnemySubChara& head = *static_cast<TableBoss&>(*boss).GetPart(1);
  constexpr int kDirections[] = {21, 27, 23, 25};
  ASSERT_EQ(NBulletList::kSlots - flames.CountFreeSlots(), 4) << "after " << frames << " frames";
  for (int i = 0; i < 4; ++i) {
    const NBulletChara& flame = *flames.Get(i);
    EXPECT_EQ(flame.GetDirection(), kDirections[i]);
    EXPECT_EQ(flame.GetSpeed(), 12);
    EXPECT_EQ(flame.GetCenterX(), head.GetCenterX() + 2);
    EXPECT_EQ(flame.GetCenterY(), head.GetCenterY() + 44);
    EXPECT_EQ(flame.layer, 0);
  }
  EXPECT_EQ(sounds->Count(14), 1);
}
