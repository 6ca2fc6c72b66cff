#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/boss_chara03.h"
#include "tests/boss_fixture.h"

namespace {

constexpr int kUnhurt = 999999;

struct Corner {
  char boss;
  int part;
  int x, y;
};

}  // namespace

TEST_F(BossTest, PartsStartAroundTheirBodyOffTheScreen) {
  const Corner corners[] = {
      {'A', 0, 187, -188}, {'A', 1, 290, -212}, {'A', 5, 202, -110},  // body, head, left laser
      {'B', 0, -235, 59},  {'B', 1, -58, 100},  {'B', 4, -180, -22},  // fish, east and north bubbles
      {'C', 0, 262, 520},  {'C', 1, 196, 486},                        // snail below, shell round it
      {'D', 0, 293, 502},  {'D', 3, 272, 480},                        // a flower on the creature's centre
      {'E', 0, 179, -226}, {'E', 4, -91, -178}, {'E', 5, 709, -178},  // the balls beyond both edges
  };
  for (const Corner& c : corners) {
    TableBoss& b = Make(c.boss);
    SCOPED_TRACE(testing::Message() << c.boss << " part " << c.part);
    EXPECT_EQ(b.GetPart(c.part)->GetX(), c.x);
    EXPECT_EQ(b.GetPart(c.part)->GetY(), c.y);
    if (c.part == 0) {
      EXPECT_TRUE(b.GetPart(0)->IsOutOfScreen());
    }
  }
  const int bodyPoints[] = {440, 160, 70, 360, 600};
  for (char letter = 'A'; letter <= 'E'; ++letter) EXPECT_EQ(Make(letter).GetBodyHitPoints(), bodyPoints[letter - 'A']);
  EXPECT_EQ(MakeBoss('F'), nullptr);
}

TEST_F(BossTest, PartsFollowTheBodyAndKeepTheirPlaceOnIt) {
  TableBoss& b = Make('A');
  NEnemySubChara& body = *b.GetPart(0);
  NEnemySubChara& wings = *b.GetPart(2);
  int startY = body.GetY();
  for (int frame = 0; frame < 400; ++frame) {
    b.Update(bullets, player);
    ASSERT_EQ(wings.GetX() - body.GetX(), -73) << frame;
    ASSERT_EQ(wings.GetY() - body.GetY(), -31) << frame;
  }
  EXPECT_GT(body.GetY(), startY);  // the body came down meanwhile
}

TEST_F(BossTest, BubblesUseUpTheShotsThatMissTheFish) {
  TableBoss& b = Make('B');
  const NEnemySubChara& fish = *b.GetPart(0);
  const NEnemySubChara& bubble = *b.GetPart(1);
  int slot = AddShot(0, 0);
  ASSERT_TRUE(AimShot(slot, bubble, [&](const NFireChara& s) { return s.IsHit(bubble) && !s.IsHit(fish); }));
  int cx = shots.Get(slot)->GetCenterX();
  int cy = shots.Get(slot)->GetCenterY();
  b.TakeShots(shots, regions);
  EXPECT_EQ(ShotsLeft(), 0);
  EXPECT_EQ(b.GetPart(1), &bubble);  // the bubble stays
  EXPECT_EQ(b.GetBodyHitPoints(), 160);
  // The only feedback: a small spark with its sound where the shot was.
  ASSERT_EQ(explosions.Count(), 1);
  EXPECT_EQ(explosions.Get(0)->GetCenterX(), cx);
  EXPECT_EQ(explosions.Get(0)->GetCenterY(), cy);
  EXPECT_EQ(sounds.Count(1), 1);

  // A shot on both the fish and a bubble hurts the fish; one on neither flies on.
  b.GetPart(1)->SetPosition(40, 40);  // the bubble over the fish's middle
  slot = AddShot(0, 0);
  ASSERT_TRUE(AimShot(slot, fish, [&](const NFireChara& s) { return s.IsHit(fish) && s.IsHit(bubble); }));
  int miss = AddShot(320, 300);
  b.TakeShots(shots, regions);
  EXPECT_EQ(b.GetBodyHitPoints(), 159);
  EXPECT_EQ(bubble.GetHitPoints(), kUnhurt - 1);
  EXPECT_EQ(ShotsLeft(), 1);
  EXPECT_NE(shots.Get(miss), nullptr);
}

TEST_F(BossTest, EveryShotTakesOnePointAndTheLastOneDestroysTheBody) {
  TableBoss& b = Make('A');
  int slot = AddShot(0, 0);
  ASSERT_TRUE(AimShot(slot, *b.GetPart(0)));
  int cx = shots.Get(slot)->GetCenterX();
  int cy = shots.Get(slot)->GetCenterY();
  b.TakeShots(shots, regions);
  for (int hit = 2; hit < 440; ++hit) {
    AddShot(cx, cy);
    b.TakeShots(shots, regions);
  }
  EXPECT_EQ(b.GetBodyHitPoints(), 1);
  EXPECT_FALSE(b.IsDefeated());
  EXPECT_TRUE(regions.IsEmpty());
  // Shots pass through the head, wings, orbs and lasers, even while the
  // orbs glow and the beams show.
  for (int part : {3, 4}) b.GetPart(part)->SetFrame(5);
  for (int part : {5, 6}) b.GetPart(part)->SetFrame(1);
  for (int part = 1; part <= 6; ++part) {
    slot = AddShot(0, 0);
    if (!AimShot(slot, *b.GetPart(part),
                 [&](const NFireChara& s) { return s.IsHit(*b.GetPart(part)) && !s.IsHit(*b.GetPart(0)); })) {
      shots.Remove(slot);
    }
  }
  int passing = ShotsLeft();
  EXPECT_EQ(passing, 6);
  b.TakeShots(shots, regions);
  EXPECT_EQ(ShotsLeft(), passing);
  EXPECT_EQ(b.GetBodyHitPoints(), 1);
  shots.Clear();

  const NEnemySubChara* body = b.GetPart(0);
  int x = body->GetX(), y = body->GetY();
  AddShot(cx, cy);
  b.TakeShots(shots, regions);
  EXPECT_TRUE(b.IsDefeated());
  EXPECT_EQ(b.GetBodyHitPoints(), -1);
  ASSERT_EQ(regions.Regions().size(), 1u);
  const NExplodeRegionList::Region& r = regions.Regions().front();
  EXPECT_EQ(r.x, x);
  EXPECT_EQ(r.y, y);
  EXPECT_EQ(r.width, 266);
  EXPECT_EQ(r.height, 188);
  EXPECT_EQ(r.framesLeft, 100);
  EXPECT_EQ(r.dropsPotions, 1);
}

TEST_F(BossTest, AHitBiggerThanWhatIsLeftDestroysThePartOnce) {
  TableBoss& b = Make('D');
  NEnemySubChara& flower = *b.GetPart(2);
  flower.SetHitPoints(2);
  flower.Shift(0, 150);  // out from under the first flower
  int slot = AddShot(0, 0);
  ASSERT_TRUE(AimShot(slot, flower, [&](const NFireChara& s) {
    return s.IsHit(flower) && !s.IsHit(*b.GetPart(0)) && !s.IsHit(*b.GetPart(1));
  }));
  shots.Get(slot)->damage = 5;
  b.TakeShots(shots, regions);
  EXPECT_EQ(b.GetPart(2), nullptr);
  EXPECT_FALSE(b.IsDefeated());
  ASSERT_EQ(regions.Regions().size(), 1u);
  EXPECT_EQ(regions.Regions().front().framesLeft, 48);
  EXPECT_EQ(regions.Regions().front().dropsPotions, 0);
  EXPECT_EQ(b.GetPart(1)->GetHitPoints(), 180);
  // The body too falls at once to a hit that is more than it has left.
  b.GetPart(0)->SetHitPoints(3);
  slot = AddShot(0, 0);
  ASSERT_TRUE(AimShot(slot, *b.GetPart(0)));
  shots.Get(slot)->damage = 5;
  b.TakeShots(shots, regions);
  EXPECT_TRUE(b.IsDefeated());
  EXPECT_EQ(regions.Regions().size(), 2u);
}

TEST_F(BossTest, ABeatenBossNeitherMovesNorDrawsNorHurtsNorTakesShots) {
  TableBoss& b = Make('B');
  NEnemySubChara& bubble = *b.GetPart(1);
  b.GetPart(0)->SetHitPoints(1);
  // One volley: the first shot fells the fish, the next still meets a bubble.
  int first = AddShot(0, 0);
  ASSERT_TRUE(AimShot(first, *b.GetPart(0)));
  int second = AddShot(0, 0);
  ASSERT_TRUE(AimShot(second, bubble, [&](const NFireChara& s) { return s.IsHit(bubble) && !s.IsHit(*b.GetPart(0)); }));
  b.TakeShots(shots, regions);
  EXPECT_TRUE(b.IsDefeated());
  EXPECT_EQ(ShotsLeft(), 0);
  EXPECT_EQ(bubble.GetHitPoints(), kUnhurt - 1);

  int x = bubble.GetX(), y = bubble.GetY();
  for (int frame = 0; frame < 50; ++frame) b.Update(bullets, player);
  EXPECT_EQ(bubble.GetX(), x);
  EXPECT_EQ(bubble.GetY(), y);
  // Even where the bubble still is, it neither hurts nor stops shots.
  player.SetPosition(x, y);
  ASSERT_TRUE(bubble.IsHit(player));
  b.TouchPlayer(player, explosions);
  EXPECT_EQ(player.lives, NMyChara::kStartLives);
  int shot = AddShot(0, 0);
  ASSERT_TRUE(AimShot(shot, bubble));
  b.TakeShots(shots, regions);
  EXPECT_EQ(ShotsLeft(), 1);
  auto screen = CreateOffscreenSurface(640, 480);
  screen->FillAll(0);
  bubble.SetPosition(200, 200);  // drawn on screen, if it were drawn at all
  b.Draw(screen.get());
  int inked = 0;
  for (int row = 0; row < 480; ++row)
    for (int col = 0; col < 640; ++col) inked += screen->At(col, row) != 0;
  EXPECT_EQ(inked, 0);
}

TEST_F(BossTest, LasersHurtOnlyWhileABeamShows) {
  TableBoss& b = Make('A');
  NEnemySubChara& laser = *b.GetPart(5);
  // Halfway down the left beam, clear of every other part.
  player.SetPosition(laser.GetCenterX() - player.GetWidth() / 2, 200);
  laser.SetFrame(0);
  b.TouchPlayer(player, explosions);
  EXPECT_EQ(player.lives, NMyChara::kStartLives);
  EXPECT_EQ(player.playerState, NMyChara::kNormal);
  laser.SetFrame(1);
  b.TouchPlayer(player, explosions);
  EXPECT_EQ(player.lives, NMyChara::kStartLives - 1);
}

TEST_F(BossTest, TheSnailIsSafeInItsShellUntilTheShellBreaks) {
  TableBoss& b = Make('C');
  const NEnemySubChara& snail = *b.GetPart(0);
  const NEnemySubChara& shell = *b.GetPart(NBossChara03::kShell);
  auto onBoth = [&](const NFireChara& s) { return s.IsHit(snail) && s.IsHit(shell); };
  int slot = AddShot(0, 0);
  ASSERT_TRUE(AimShot(slot, snail, onBoth));
  int cx = shots.Get(slot)->GetCenterX();
  int cy = shots.Get(slot)->GetCenterY();
  int snailX = snail.GetX(), snailY = snail.GetY();
  b.TakeShots(shots, regions);
  EXPECT_EQ(b.GetBodyHitPoints(), 70);
  EXPECT_EQ(shell.GetHitPoints(), 419);

  // The head moves and fires while the shell stands.
  const ScriptState& head = b.GetPart(NBossChara03::kHead)->GetScriptState();
  int pc = head.pc;
  for (int frame = 0; frame < 400; ++frame) b.Update(bullets, player);
  EXPECT_NE(head.pc, pc);
  EXPECT_LT(bullets.CountFreeSlots(), NBulletList::kSlots);

  // The shot that breaks the shell is spent on it; the next of the same
  // volley reaches the snail.
  b.GetPart(NBossChara03::kShell)->SetHitPoints(1);
  shots.Clear();
  cx += b.GetPart(0)->GetX() - snailX;
  cy += b.GetPart(0)->GetY() - snailY;
  // A place where the witch touches the shell but not the snail.
  bool found = false;
  for (int y = shell.GetY(); y < shell.GetY() + shell.GetHeight() && !found; y += 4) {
    for (int x = shell.GetX(); x < shell.GetX() + shell.GetWidth() && !found; x += 4) {
      player.SetPosition(x, y);
      found = player.IsHit(shell) && !player.IsHit(snail);
    }
  }
  ASSERT_TRUE(found);
  AddShot(cx, cy);
  AddShot(cx, cy);
  b.TakeShots(shots, regions);
  EXPECT_EQ(b.GetPart(NBossChara03::kShell), nullptr);
  b.TouchPlayer(player, explosions);
  EXPECT_EQ(player.lives, NMyChara::kStartLives);  // the shell is gone, and its harm with it
  EXPECT_EQ(b.GetBodyHitPoints(), 69);
  EXPECT_EQ(ShotsLeft(), 0);
  ASSERT_EQ(regions.Regions().size(), 1u);
  EXPECT_EQ(regions.Regions().front().width, 229);
  EXPECT_EQ(regions.Regions().front().framesLeft, 48);
  EXPECT_EQ(regions.Regions().front().dropsPotions, 0);

  // Bare, the head falls still and silent while the sweat keeps its beat.
  pc = head.pc;
  int opcode = head.opcode, count = head.arg1;
  std::vector<int> sweatFrames;
  bullets.Clear();
  for (int frame = 0; frame < 600; ++frame) {
    b.Update(bullets, player);
    sweatFrames.push_back(b.GetPart(NBossChara03::kSweat)->GetFrame());
  }
  EXPECT_EQ(head.pc, pc);
  EXPECT_EQ(head.opcode, opcode);
  EXPECT_EQ(head.arg1, count);
  EXPECT_EQ(bullets.CountFreeSlots(), NBulletList::kSlots);
  EXPECT_NE(std::count(sweatFrames.begin(), sweatFrames.end(), 0), 0);
  EXPECT_NE(std::count(sweatFrames.begin(), sweatFrames.end(), 1), 0);
}

TEST_F(BossTest, TheDemonsPartsKeepInStep) {
  TableBoss& b = Make('A');
  int beamFrames = 0;
  int volleys = 0;
  for (int frame = 0; frame < 3000; ++frame) {
    b.Update(bullets, player);
    // Only the head fires, and only with its mouth open.
    if (bullets.CountFreeSlots() < NBulletList::kSlots) {
      ++volleys;
      ASSERT_EQ(b.GetPart(1)->GetFrame(), 1) << "frame " << frame;
    }
    bullets.Clear();
    for (int side = 0; side < 2; ++side) {
      int orb = b.GetPart(3 + side)->GetFrame();
      int beam = b.GetPart(5 + side)->GetFrame();
      if (beam == 0) continue;
      ++beamFrames;
      ASSERT_TRUE(orb == 5 || orb == 6) << "frame " << frame << " beam " << beam << " orb " << orb;
    }
  }
  EXPECT_GT(beamFrames, 800);  // four hundred frames a cycle on each side
  EXPECT_GE(volleys, 45);      // fifteen a cycle
}
