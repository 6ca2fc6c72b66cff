// Boss rules a replay seldom isolates: which parts take shots, what a
// destroyed part leaves behind, and what a beaten boss no longer does.
#include <gtest/gtest.h>

#include <functional>

#include "game/boss_chara03.h"
#include "game/bullet_list.h"
#include "game/explode_list.h"
#include "game/explode_region_list.h"
#include "game/fire_list.h"
#include "game/player.h"
#include "game/potion_list.h"
#include "game/table_boss.h"
#include "tests/doubles.h"

namespace {

class Boss : public WorldTest {
 protected:
  struct NoGame : PlayerEvents {
    void OnLastLifeLost() override {}
  };
  TableBoss& Make(char letter) {
    boss.reset(static_cast<TableBoss*>(MakeBoss(letter).release()));
    boss->CreateParts();
    return *boss;
  }
  // One player shot placed on the first point (every other pixel) over a
  // sprite where `wanted` holds; false, and no shot, when there is none.
  bool ShootWhere(const NSprite256& over, const std::function<bool(const NFireChara&)>& wanted) {
    int slot = shots.FindFreeSlot();
    shots.Fire(0, 0, 0);
    NFireChara& shot = *shots.Get(slot);
    for (int y = over.GetY(); y < over.GetY() + over.GetHeight(); y += 2) {
      for (int x = over.GetX(); x < over.GetX() + over.GetWidth(); x += 2) {
        shot.SetCenter(x, y);
        if (wanted(shot)) return true;
      }
    }
    shots.Remove(slot);
    return false;
  }
  int ShotsLeft() const { return NFireList::kSlots - shots.CountFreeSlots(); }
  NoGame game;
  NMyChara player{&game};
  NFireList shots;
  NBulletList bullets;
  NExplodeList explosions;
  NPotionList potions;
  NExplodeRegionList regions{&explosions, &potions};
  std::unique_ptr<TableBoss> boss;
};

}  // namespace

TEST_F(Boss, TheSnailTakesNoShotsUntilItsShellBreaksAndThenTheNextShotOfTheVolley) {
  TableBoss& b = Make('C');
  const NEnemySubChara& snail = *b.GetPart(0);
  const NEnemySubChara& shell = *b.GetPart(NBossChara03::kShell);
  auto onBoth = [&](const NFireChara& s) { return s.IsHit(snail) && s.IsHit(shell); };
  ASSERT_TRUE(ShootWhere(snail, onBoth));
  b.TakeShots(shots, regions);
  EXPECT_EQ(b.GetBodyHitPoints(), 70);
  EXPECT_EQ(shell.GetHitPoints(), 419);
  EXPECT_EQ(ShotsLeft(), 0);
  b.GetPart(NBossChara03::kShell)->SetHitPoints(1);
  ASSERT_TRUE(ShootWhere(snail, onBoth));
  ASSERT_TRUE(ShootWhere(snail, onBoth));
  b.TakeShots(shots, regions);
  EXPECT_EQ(b.GetPart(NBossChara03::kShell), nullptr);
  EXPECT_EQ(b.GetBodyHitPoints(), 69);
  EXPECT_EQ(b.GetHarmfulParts(), std::vector<const NSprite256*>{b.GetPart(0)});  // the sweat shows, harmless
  // A part burns for 48 frames and drops nothing.
  ASSERT_EQ(regions.Regions().size(), 1u);
  EXPECT_EQ(regions.Regions().front().framesLeft, 48);
  EXPECT_EQ(regions.Regions().front().dropsPotions, 0);
}

TEST_F(Boss, ShotsPassThroughPartsThatAreNoTargetsAndTheLastPointFellsTheBody) {
  TableBoss& b = Make('E');     // targets: the body and the two balls
  for (int part : {1, 2, 3}) {  // head, orb and laser, each showing frame 1
    NEnemySubChara& p = *b.GetPart(part);
    p.SetFrame(1);
    ShootWhere(p, [&](const NFireChara& s) { return s.IsHit(p) && !s.IsHit(*b.GetPart(0)); });
  }
  int passing = ShotsLeft();  // one for each that shows clear of the body
  ASSERT_GT(passing, 0);
  b.TakeShots(shots, regions);
  EXPECT_EQ(ShotsLeft(), passing);
  shots.Clear();
  b.GetPart(0)->SetHitPoints(2);
  ASSERT_TRUE(ShootWhere(*b.GetPart(0), [&](const NFireChara& s) { return s.IsHit(*b.GetPart(0)); }));
  b.TakeShots(shots, regions);
  EXPECT_EQ(b.GetBodyHitPoints(), 1);
  EXPECT_EQ(explosions.Count(), 1);  // a spark where the shot struck
  const NEnemySubChara& ball = *b.GetPart(4);
  ASSERT_TRUE(ShootWhere(*b.GetPart(0), [&](const NFireChara& s) { return s.IsHit(*b.GetPart(0)); }));
  b.TakeShots(shots, regions);
  EXPECT_TRUE(b.IsDefeated());
  ASSERT_EQ(regions.Regions().size(), 1u);
  EXPECT_EQ(regions.Regions().front().framesLeft, 100);
  EXPECT_EQ(regions.Regions().front().dropsPotions, 1);
  // Beaten, the parts left neither move, nor hurt, nor stop shots.
  int x = ball.GetX(), y = ball.GetY();
  for (int frame = 0; frame < 20; ++frame) b.Update(bullets, player);
  EXPECT_EQ(std::make_pair(ball.GetX(), ball.GetY()), std::make_pair(x, y));
  player.SetPosition(x, y);
  ASSERT_TRUE(ball.IsHit(player));
  b.TouchPlayer(player, explosions);
  EXPECT_EQ(player.lives, NMyChara::kStartLives);
  ASSERT_TRUE(ShootWhere(ball, [&](const NFireChara& s) { return s.IsHit(ball); }));
  b.TakeShots(shots, regions);
  EXPECT_EQ(ShotsLeft(), 1);
}

TEST_F(Boss, EveryPartHurtsHerButTheSnailsHeadAndSweat) {
  for (char letter : {'A', 'B', 'C', 'D', 'E'}) {
    TableBoss& b = Make(letter);
    std::vector<const NSprite256*> harmful = b.GetHarmfulParts();
    for (int i = 0; i < b.GetPartCount(); ++i) {
      bool head = letter == 'C' && (i == NBossChara03::kHead || i == NBossChara03::kSweat);
      EXPECT_EQ(std::count(harmful.begin(), harmful.end(), b.GetPart(i)), head ? 0 : 1) << letter << " part " << i;
    }
  }
}

TEST_F(Boss, EachOfBossFivesBallsFallsToItsThirtiethShot) {
  TableBoss& b = Make('E');
  for (int part : {4, 5}) {
    for (int hit = 1; hit <= 30; ++hit) {
      const NEnemySubChara& ball = *b.GetPart(part);
      ASSERT_TRUE(ShootWhere(ball, [&](const NFireChara& s) { return s.IsHit(ball) && !s.IsHit(*b.GetPart(0)); }));
      b.TakeShots(shots, regions);
      ASSERT_EQ(b.GetPart(part) != nullptr, hit < 30) << "part " << part << " hit " << hit;
    }
  }
  EXPECT_EQ(regions.Regions().size(), 2u);
}
