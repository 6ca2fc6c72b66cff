// The formation: its layout from the level map, the order in which its
// members dive, the block's turn at the border, and the chance shots.
#include <gtest/gtest.h>

#include <sstream>

#include "game/bullet_list.h"
#include "game/enemy_list.h"
#include "game/explode_list.h"
#include "game/fire_list.h"
#include "game/map.h"
#include "game/potion_list.h"
#include "tests/doubles.h"

namespace {

class Formation : public WorldTest {
 protected:
  // Builds level 1 of a map from its rows, padded with empty cells to six
  // rows of eleven (a map that lacks cells ends the build early).
  char Build(const std::string& rows) {
    std::string text;
    std::istringstream in(rows);
    for (std::string row; std::getline(in, row);) text += row + std::string(11 - row.size(), '0') + "\n";
    while (std::count(text.begin(), text.end(), '\n') < 6) text += "00000000000\n";
    NStringList lines;
    lines.LoadFromBytes({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
    map.LoadLines(lines);
    map.SetLevel(1);
    return enemies.BuildFormation(map);
  }
  NMap map;
  NEnemyList enemies;
  NBulletList bullets;
  TestWorld world;
};

}  // namespace

TEST_F(Formation, RowsStackByTheirTallestMemberAndEmptyRowsTakeNoRoom) {
  EXPECT_EQ(Build("00000000000\n20000000001\n00000000000\n00000100000\n"), 0);
  ASSERT_EQ(enemies.Count(), 3);
  // Columns 44 pixels wide, centred on the screen; the first row at 32.
  EXPECT_EQ(enemies.Get(0)->GetCenterX(), 100);
  EXPECT_EQ(enemies.Get(1)->GetCenterX(), 100 + 10 * 44);
  EXPECT_EQ(enemies.Get(0)->GetY(), 32);
  EXPECT_EQ(enemies.Get(2)->GetY(), 32 + 42 + 4);                    // below the taller kind 1, 4 apart
  EXPECT_EQ(Build("00000000000\n0000A000000\n11111111111\n"), 'A');  // a boss letter ends the build
}

TEST_F(Formation, DiveTurnsAreDealtInRandomOrderAndADrawnTurnPassesToTheMemberBefore) {
  // With seed 150 the four draws are 0, 0, 0, 2: the second and third find
  // member 0 taken and go back, round to member 3 and then 2; the last
  // finds 2 taken and goes to 1.
  SeedRandom(150);
  Build("1111\n");
  std::vector<int> delays;
  for (int i = 0; i < 4; ++i) delays.push_back(enemies.Get(i)->GetDiveDelay());
  EXPECT_EQ(delays, (std::vector<int>{60, 162, 128, 94}));

  // A member dives on the frame after its delay ran out, script from the top.
  NEnemyChara& first = *enemies.Get(0);
  for (int f = 0; f < 60; ++f) first.RunScript(bullets, world, world, world);
  EXPECT_EQ(first.GetMode(), 0);
  first.RunScript(bullets, world, world, world);
  EXPECT_EQ(first.GetMode(), 1);
  // A diver that leaves through the bottom comes back from above the top.
  first.SetY(480);
  enemies.Update(bullets, world);
  EXPECT_EQ(first.GetY(), -20 - first.GetHeight());
}

TEST_F(Formation, TheWholeBlockTurnsWhenOneMemberTouchesTheBorder) {
  Build("00000000001\n11111111110\n");
  int frames = 0;
  while (enemies.Get(0)->GetDirection() == 0 && frames < 100) {
    enemies.Update(bullets, world);
    ++frames;
  }
  EXPECT_EQ(frames, 33);  // the right member (38 wide, left edge 521) leaves the screen after 33 steps of 2.5
  for (int i = 0; i < enemies.Count(); ++i) EXPECT_EQ(enemies.Get(i)->GetDirection(), 16) << i;
}

TEST_F(Formation, MembersFireByChanceFromTheirCentreAndDiversNever) {
  Build("123456789\n");
  std::vector<int> chances;
  for (int i = 0; i < 9; ++i) {
    world.chancesAsked.clear();
    enemies.Get(i)->RunScript(bullets, world, world, world);
    chances.push_back(world.chancesAsked.at(0));
  }
  // One in this many frames, by kind 1..9.
  EXPECT_EQ(chances, (std::vector<int>{900, 800, 700, 700, 500, 500, 500, 700, 600}));
  NEnemyChara& member = *enemies.Get(0);
  world.nextChance = 0;
  world.events.clear();
  member.RunScript(world, world, world, world);
  EXPECT_EQ(world.events, std::vector<std::string>{"shoot 1@" + std::to_string(member.GetCenterX()) + "," +
                                                   std::to_string(member.GetCenterY())});
  member.SetDiveDelay(0);
  member.RunScript(world, world, world, world);  // leaves the formation
  world.chancesAsked.clear();
  for (int f = 0; f < 50; ++f) member.RunScript(world, world, world, world);
  EXPECT_TRUE(world.chancesAsked.empty());
}

TEST_F(Formation, ShotsSparkUntilTheLastHitPointAndTheKillDropsAPotion) {
  Build("00000500000\n");  // a large bat
  NFireList shots;
  NExplodeList explosions;
  NPotionList potions;
  int hits = 0;
  while (enemies.Count() > 0 && hits < 30) {
    NEnemyChara& bat = *enemies.Get(0);
    shots.Fire(bat.GetCenterX(), bat.GetCenterY() + 12, 0);
    sounds->played.clear();
    enemies.TakeShots(shots, explosions, potions);
    ++hits;
    explosions.Clear();
    if (enemies.Count() > 0) {
      EXPECT_EQ(sounds->played, std::vector<int>{1}) << hits;
    }
  }
  EXPECT_EQ(hits, 20);
  EXPECT_EQ(sounds->played, std::vector<int>{2});
  EXPECT_EQ(potions.Count(), 1);
  EXPECT_EQ(shots.CountFreeSlots(), NFireList::kSlots);
}
