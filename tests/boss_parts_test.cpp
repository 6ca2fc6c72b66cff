#include <gtest/gtest.h>

#include "base/math_util.h"
#include "game/enemy_sub_chara.h"
#include "gfx/display.h"
#include "tests/script_doubles.h"

namespace {

constexpr uint8_t kInk = 5;

// A 10x10 frame, opaque but for its top-left pixel (the colour key).
std::unique_ptr<Surface> Square() {
  auto strip = CreateOffscreenSurface(10, 10);
  strip->FillAll(kInk);
  strip->Row(0)[0] = 0;
  return strip;
}

class SubCharaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillDirectionTables();
    CreateDisplay(nullptr);
    SetDisplayMode();
  }
  void TearDown() override { ReleaseDisplay(); }
  TestWorld world;
};

}  // namespace

TEST_F(SubCharaTest, APartAtTheBodysCornerIsSeenDrawnAndHitThere) {
  NScript idle = ScriptOf("STOP 100");
  NEnemySubChara part(*Square(), &idle, 1);
  part.parentX = 187;
  part.parentY = -188;
  EXPECT_EQ(part.GetX(), 187);
  EXPECT_EQ(part.GetY(), -188);
  EXPECT_EQ(part.GetCenterX(), 192);
  EXPECT_EQ(part.GetCenterY(), -183);
  EXPECT_FLOAT_EQ(part.GetFloatX(), 0.0f);  // its own place stays local

  NEnemySubChara probe(*Square(), &idle, 1);
  probe.SetPosition(195, -181);
  EXPECT_TRUE(part.IsHit(probe));
  EXPECT_TRUE(probe.IsHit(part));
  probe.SetPosition(5, 5);  // where the part would be without its body
  EXPECT_FALSE(part.IsHit(probe));

  part.parentY = 100;
  auto screen = CreateOffscreenSurface(640, 480);
  screen->FillAll(0);
  part.Draw(screen.get());
  EXPECT_EQ(screen->At(190, 103), kInk);
  EXPECT_EQ(screen->At(196, 109), kInk);
  EXPECT_EQ(screen->At(5, 5), 0);
  EXPECT_EQ(screen->At(197, 110), 0);
}

TEST_F(SubCharaTest, ScriptsMoveThePartLocallyAndShootFromTheScreen) {
  NScript script = ScriptOf("SPEED 4\nDIRECTION 0\nSET_BULLET_OFFSET 0,22\nSHOOT 106\nMOVE 1\nSTOP 100");
  NEnemySubChara part(*Square(), &script, 1);
  EXPECT_EQ(part.GetMode(), 1);  // flies its script from the first frame
  part.parentX = 300;
  part.parentY = 50;
  part.RunScript(world, world, world, world);
  EXPECT_EQ(world.Take(), std::vector<std::string>{"shoot 106@305,77"});
  EXPECT_FLOAT_EQ(part.GetFloatX(), 4.0f);
  EXPECT_EQ(part.GetX(), 304);
  // The body moving takes the part along without touching its own place.
  part.parentX = 100;
  EXPECT_FLOAT_EQ(part.GetFloatX(), 4.0f);
  EXPECT_EQ(part.GetX(), 104);
}

TEST_F(SubCharaTest, APartAimsFromWhereItIsSeen) {
  NScript aim = ScriptOf("DIRECTION_TO_MYCHARA\nSTOP 10");
  world.playerX = 100;
  world.playerY = 305;
  NEnemySubChara part(*Square(), &aim, 1);
  part.parentX = 400;
  part.parentY = 300;
  part.RunScript(world, world, world, world);
  EXPECT_EQ(part.GetDirection(), 16);  // the player is to its left on screen

  NEnemySubChara unplaced(*Square(), &aim, 1);
  unplaced.RunScript(world, world, world, world);
  EXPECT_NE(unplaced.GetDirection(), 16);  // from (0, 0) she is down and right
}
