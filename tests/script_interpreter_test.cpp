#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "base/math_util.h"
#include "game/enemy_chara.h"
#include "game/potion_chara.h"
#include "script/script_runner.h"
#include "script_doubles.h"

namespace {

using Events = std::vector<std::string>;

// A diving enemy with two 46x46 frames at (100, 200), as bosses make their parts.
std::unique_ptr<NEnemyChara> Diver(const NScript& script) {
  FillDirectionTables();
  auto enemy = std::make_unique<NEnemyChara>(Surface(46, 92), &script, 2, 1);
  enemy->SetPosition(100, 200);
  return enemy;
}

std::unique_ptr<NPotionChara> Potion(const NScript& script) {
  FillDirectionTables();
  auto potion = std::make_unique<NPotionChara>(Surface(19, 23), &script, NPotionChara::kPotion);
  potion->SetPosition(100, 200);
  return potion;
}

// One frame of either interpreter; returns what it fired and played.
struct Runner {
  explicit Runner(const NScript& script, bool reduced) {
    if (reduced) {
      potion = Potion(script);
      sprite = potion.get();
    } else {
      enemy = Diver(script);
      sprite = enemy.get();
    }
  }
  Events Frame() {
    if (potion) {
      potion->Step(world);
    } else {
      enemy->RunScript(world, world, world, world);
    }
    return world.Take();
  }
  TestWorld world;
  std::unique_ptr<NEnemyChara> enemy;
  std::unique_ptr<NPotionChara> potion;
  NSprite256* sprite = nullptr;
};

}  // namespace

TEST(ScriptTiming, MoveAndStopCountFramesAndZeroCountsTakeNone) {
  NScript script = ScriptOf(
      "SPEED 4\nDIRECTION 8\nMOVE 3\nPLAY_SOUND 5\nSTOP 2\nMOVE 0\nSTOP 0\nMOVE -3\nPLAY_SOUND 6\nSTOP 1000\n");
  for (bool reduced : {false, true}) {
    SCOPED_TRACE(reduced ? "reduced" : "full");
    Runner r(script, reduced);
    std::vector<int> ys;
    std::vector<Events> events;
    for (int t = 1; t <= 7; ++t) {
      events.push_back(r.Frame());
      ys.push_back(r.sprite->GetY());
    }
    EXPECT_EQ(ys, (std::vector<int>{196, 192, 188, 188, 188, 188, 188}));
    EXPECT_EQ(events, (std::vector<Events>{{}, {}, {}, {"sound 5"}, {}, {"sound 6"}, {}}));
    EXPECT_EQ(r.sprite->GetX(), 100);
  }
}

TEST(ScriptTiming, ScriptRunsOffItsEndIntoItsFirstCommand) {
  NScript script = ScriptOf("PLAY_SOUND 1\nSHIFT_X 3\nSTOP 1\nPLAY_SOUND 2\n");
  for (bool reduced : {false, true}) {
    Runner r(script, reduced);
    EXPECT_EQ(r.Frame(), (Events{"sound 1"}));
    EXPECT_EQ(r.Frame(), (Events{"sound 2", "sound 1"}));
    EXPECT_EQ(r.Frame(), (Events{"sound 2", "sound 1"}));
    EXPECT_EQ(r.sprite->GetX(), 109);
  }
}

TEST(ScriptTiming, ScriptWithoutCommandsLeavesItsSpriteWhereItIs) {
  NScript empty;
  for (bool reduced : {false, true}) {
    Runner r(empty, reduced);
    r.sprite->SetDirection(0);
    for (int t = 0; t < 3; ++t) EXPECT_TRUE(r.Frame().empty());
    EXPECT_EQ(r.sprite->GetX(), 100);
    EXPECT_EQ(r.sprite->GetY(), 200);
  }
}

TEST(ScriptTiming, LoopWithoutMoveOrStopEndsTheFrameInsteadOfHanging) {
  NScript script = ScriptOf("LABEL 1\nPLAY_SOUND 1\nGOTO_LABEL 1\n");
  for (bool reduced : {false, true}) {
    Runner r(script, reduced);
    size_t first = r.Frame().size();
    EXPECT_GT(first, 100u);
    EXPECT_LE(first, static_cast<size_t>(kMaxCommandsPerFrame));
    // The next frame goes on where this one stopped, bounded the same way.
    size_t second = r.Frame().size();
    EXPECT_GT(second, 100u);
    EXPECT_LE(second, static_cast<size_t>(kMaxCommandsPerFrame));
  }
  // Nothing but unknown words: every fetch is free, yet the frame still ends.
  NScript words = ScriptOf("hello 1\nworld 2\n");
  for (bool reduced : {false, true}) {
    Runner r(words, reduced);
    EXPECT_TRUE(r.Frame().empty());
    EXPECT_EQ(r.sprite->GetY(), 200);
  }
}

TEST(ScriptState, SpeedPercentWorksInSinglePrecision) {
  struct Case {
    const char* text;
    float speed;
  } cases[] = {
      {"SPEED 12\nSPEED_PERCENT 50\nSPEED_PERCENT 50\nSPEED_PERCENT 50\nSTOP 1\n", 1.5f},
      // Two steps of 65 % from 1: double arithmetic would give 0.422499985.
      {"SPEED 1\nSPEED_PERCENT 65\nSPEED_PERCENT 65\nSTOP 1\n", 0.422499955f},
      {"SPEED 1\nSPEED_PERCENT 150\nSPEED_PERCENT 150\nSTOP 1\n", 2.25f},
  };
  for (const Case& c : cases) {
    NScript script = ScriptOf(c.text);
    for (bool reduced : {false, true}) {
      Runner r(script, reduced);
      r.Frame();
      EXPECT_EQ(r.sprite->GetSpeed(), c.speed) << c.text;
    }
  }
}

TEST(ScriptState, RepeatBlocksRunAtLeastOnce) {
  // The sound after the block marks the frame in which the block is over.
  struct Case {
    int count;
    int soundFrame;
  } cases[] = {{0, 2}, {1, 2}, {-3, 2}, {3, 4}, {INT_MIN, 2}};
  for (const Case& c : cases) {
    NScript script = ScriptOf("REPEAT " + std::to_string(c.count) + "\nSTOP 1\nREPEAT_END\nPLAY_SOUND 9\nSTOP 100\n");
    for (bool reduced : {false, true}) {
      Runner r(script, reduced);
      int heard = 0;
      for (int t = 1; t <= 10 && heard == 0; ++t) {
        if (!r.Frame().empty()) heard = t;
      }
      EXPECT_EQ(heard, c.soundFrame) << "REPEAT " << c.count;
    }
  }
}

TEST(ScriptState, RepeatedFrameBlinkLastsFortyFrames) {
  NScript script = ScriptOf("REPEAT 5\nINCR_FRAME\nSTOP 4\nINCR_FRAME\nSTOP 4\nREPEAT_END\nPLAY_SOUND 9\nSTOP 100\n");
  Runner r(script, false);
  std::vector<int> frames;
  int heard = 0;
  for (int t = 1; t <= 45; ++t) {
    if (!r.Frame().empty() && heard == 0) heard = t;
    frames.push_back(r.sprite->GetFrame());
  }
  EXPECT_EQ(heard, 41);
  EXPECT_EQ(frames[0], 1);
  EXPECT_EQ(frames[3], 1);
  EXPECT_EQ(frames[4], 0);
  EXPECT_EQ(frames[8], 1);
  EXPECT_EQ(frames[39], 0);
}

TEST(ScriptState, JumpsFindTheFirstLabelAndMissingLabelsFallThrough) {
  NScript script =
      ScriptOf("GOTO_LABEL 9\nSTOP 1\nLABEL 2\nPLAY_SOUND 1\nSTOP 1\nLABEL 2\nPLAY_SOUND 2\nSTOP 1\nGOTO_LABEL 2\n");
  for (bool reduced : {false, true}) {
    Runner r(script, reduced);
    EXPECT_TRUE(r.Frame().empty());
    EXPECT_EQ(r.Frame(), (Events{"sound 1"}));
    EXPECT_EQ(r.Frame(), (Events{"sound 2"}));
    EXPECT_EQ(r.Frame(), (Events{"sound 1"}));
  }
}

TEST(ScriptState, GosubReturnsAfterItselfAndAStrayReturnFallsThrough) {
  NScript calls = ScriptOf(
      "LABEL 1\nGOSUB 2\nPLAY_SOUND 1\nSTOP 1\nGOTO_LABEL 1\n"
      "LABEL 2\nPLAY_SOUND 2\nSTOP 2\nRETURN\n");
  Runner r(calls, false);
  std::vector<Events> got;
  for (int t = 0; t < 6; ++t) got.push_back(r.Frame());
  EXPECT_EQ(got, (std::vector<Events>{{"sound 2"}, {}, {"sound 1"}, {"sound 2"}, {}, {"sound 1"}}));
  EXPECT_EQ(r.enemy->GetScriptState().returnIndex, -1);

  NScript stray = ScriptOf("PLAY_SOUND 1\nRETURN\nPLAY_SOUND 2\nSTOP 1\n");
  Runner s(stray, false);
  EXPECT_EQ(s.Frame(), (Events{"sound 1", "sound 2"}));

  // A call to a missing label still marks where RETURN goes back to.
  NScript missing = ScriptOf("GOSUB 7\nPLAY_SOUND 3\nSTOP 1\nRETURN\nPLAY_SOUND 4\nSTOP 5\n");
  Runner m(missing, false);
  EXPECT_EQ(m.Frame(), (Events{"sound 3"}));
  EXPECT_EQ(m.Frame(), (Events{"sound 3"}));
}

TEST(ScriptState, TurnsWrapRoundTheCompass) {
  struct Case {
    const char* commands;
    int start;
    int full;
    int reduced;
  } cases[] = {
      {"DIRECTION_REVERSE", 8, 24, 8},   {"DIRECTION_REVERSE", 20, 4, 20},
      {"DIRECTION_REVERSE", -1, -1, -1}, {"ROTATE_RIGHT 1", 0, 31, 31},
      {"ROTATE_LEFT 1", 31, 0, 0},       {"ROTATE_LEFT 1", -1, -1, -1},
      {"ROTATE_RIGHT 1", -1, -1, -1},    {"ROTATE_LEFT 3\nROTATE_RIGHT 5", 1, 31, 31},
  };
  for (const Case& c : cases) {
    std::string text = "DIRECTION " + std::to_string(c.start) + "\n" + c.commands + "\nSTOP 1\n";
    NScript script = ScriptOf(text);
    Runner full(script, false);
    full.Frame();
    EXPECT_EQ(full.sprite->GetDirection(), c.full) << text;
    Runner reduced(script, true);
    reduced.Frame();
    EXPECT_EQ(reduced.sprite->GetDirection(), c.reduced) << text;
  }
}

TEST(ScriptState, AimingStaysInTheDownwardConeWhenAsked) {
  // The diver's centre is (123, 223).
  struct Case {
    int playerX, playerY, cone, free;
  } cases[] = {
      {123, 50, 21, 8},    // straight above
      {400, 223, 27, 0},   // straight to the right
      {123, 450, 24, 24},  // straight below
      {0, 223, 21, 16},    // straight to the left
      {223, 323, 27, 28},  // below and to the right
  };
  NScript cone = ScriptOf("DIRECTION_TO_MYCHARA 7\nSTOP 1\n");
  NScript free = ScriptOf("DIRECTION_TO_MYCHARA\nSTOP 1\n");
  for (const Case& c : cases) {
    Runner a(cone, false);
    a.world.playerX = c.playerX;
    a.world.playerY = c.playerY;
    a.Frame();
    EXPECT_EQ(a.sprite->GetDirection(), c.cone) << c.playerX << "," << c.playerY;
    Runner b(free, false);
    b.world.playerX = c.playerX;
    b.world.playerY = c.playerY;
    b.Frame();
    EXPECT_EQ(b.sprite->GetDirection(), c.free) << c.playerX << "," << c.playerY;
  }
}

TEST(ScriptState, ShotsLeaveFromTheCentrePlusTheBulletOffset) {
  NScript script = ScriptOf("SHOOT 5\nSET_BULLET_OFFSET -14,-96\nSHOOT 107\nSTOP 1\n");
  Runner r(script, false);
  EXPECT_EQ(r.Frame(), (Events{"shoot 5@123,223", "shoot 107@109,127"}));
}

TEST(ScriptState, ReducedSetSkipsWhatNeedsAnEnemy) {
  NScript script = ScriptOf(
      "DIRECTION 8\nSET_FRAME 1\nINCR_FRAME\nSET_BULLET_OFFSET 1,2\nSHOOT 3\nDIRECTION_TO_MYCHARA\n"
      "DIRECTION_REVERSE\nGOSUB 1\nRETURN\nPLAY_SOUND 4\nMOVE 1\nSTOP 9\nLABEL 1\nPLAY_SOUND 8\n");
  Runner r(script, true);
  EXPECT_EQ(r.Frame(), (Events{"sound 4"}));
  EXPECT_EQ(r.sprite->GetDirection(), 8);
  EXPECT_EQ(r.sprite->GetFrame(), 0);
  EXPECT_EQ(r.sprite->GetY(), 199);
}

TEST(ScriptState, PotionMoveRunsItsScript) {
  FillDirectionTables();
  NScript script = ScriptOf("SPEED 4\nDIRECTION 24\nMOVE 2\nSTOP 1\n");
  NPotionChara potion(Surface(19, 23), &script, NPotionChara::kLifePotion);
  EXPECT_EQ(potion.GetSpeed(), 1.0f);
  EXPECT_EQ(potion.GetDirection(), -1);
  EXPECT_EQ(potion.GetHeight(), 23);
  NSprite256& sprite = potion;
  sprite.Move();  // through the sprite's own slot
  sprite.Move();
  EXPECT_EQ(potion.GetY(), 8);
  sprite.Move();
  EXPECT_EQ(potion.GetY(), 8);
}

TEST(ScriptState, AbsurdArgumentsStayDefined) {
  NScript script = ScriptOf(
      "DIRECTION 2147483647\nROTATE_LEFT 2147483647\nROTATE_RIGHT -2147483648\nDIRECTION_REVERSE\n"
      "SET_FRAME 2147483647\nINCR_FRAME\nSET_BULLET_OFFSET 2147483647,-2147483648\nSHOOT -1\n"
      "REPEAT -2147483648\nREPEAT_END\nGOSUB -2147483648\nRETURN\nMOVE -2147483648\nSTOP 1\n");
  Runner r(script, false);
  EXPECT_EQ(r.Frame(), (Events{"shoot -1@2147483647,-2147483425"}));
  EXPECT_GE(r.sprite->GetDirection(), 0);
  EXPECT_LT(r.sprite->GetDirection(), 32);
  EXPECT_EQ(r.sprite->GetFrame(), 0);
}

TEST(Formation, DiveStartsTheScriptOnTheCallAfterTheDelayRunsOut) {
  FillDirectionTables();
  NScript script = ScriptOf("SHOOT 7\nSTOP 1\nSET_BULLET_OFFSET 3,-5\nSTOP 1\n");
  NEnemyChara enemy(Surface(46, 92), &script, 2, 1);
  enemy.SetPosition(100, 200);
  TestWorld world;
  enemy.RunScript(world, world, world, world);
  enemy.RunScript(world, world, world, world);
  EXPECT_EQ(world.Take(), (Events{"shoot 7@123,223"}));

  // Back in the formation with an offset set: two formation steps, then the dive.
  enemy.SetMode(0);
  enemy.SetDiveDelay(1);
  enemy.RunScript(world, world, world, world);
  EXPECT_EQ(enemy.GetMode(), 0);
  EXPECT_EQ(enemy.GetDiveDelay(), 0);
  enemy.RunScript(world, world, world, world);
  EXPECT_EQ(enemy.GetMode(), 1);
  EXPECT_EQ(enemy.GetScriptState().pc, 0);
  EXPECT_EQ(enemy.GetScriptState().opcode, 0);
  EXPECT_EQ(enemy.GetScriptState().returnIndex, -1);
  EXPECT_FLOAT_EQ(enemy.GetFloatX(), 105.0f);  // two formation steps at 2.5
  EXPECT_TRUE(world.Take().empty());
  enemy.RunScript(world, world, world, world);
  EXPECT_EQ(world.Take(), (Events{"shoot 7@131,218"}));
  EXPECT_TRUE(world.chancesAsked.empty());  // fireChance 0 never draws
}

TEST(Formation, ChanceShotFiresPatternOneFromTheCentreWithoutOffset) {
  FillDirectionTables();
  NScript script = ScriptOf("SET_BULLET_OFFSET 3,-5\nSTOP 1\n");
  NEnemyChara enemy(Surface(46, 92), &script, 2, 1);
  EXPECT_EQ(enemy.GetSpeed(), 2.5f);
  EXPECT_EQ(enemy.GetDirection(), 0);
  EXPECT_EQ(enemy.GetFireChance(), 0);
  EXPECT_EQ(enemy.GetHitPoints(), 0);
  TestWorld world;
  enemy.RunScript(world, world, world, world);  // sets the offset
  enemy.SetMode(0);
  enemy.SetDiveDelay(100);
  enemy.SetFireChance(900);
  enemy.SetPosition(98, 200);
  world.nextChance = 0;
  enemy.RunScript(world, world, world, world);  // moves to 100.5 first
  world.nextChance = 899;
  enemy.RunScript(world, world, world, world);
  EXPECT_EQ(world.Take(), (Events{"shoot 1@124,223"}));
  EXPECT_EQ(world.chancesAsked, (std::vector<int>{900, 900}));
  EXPECT_EQ(enemy.GetDiveDelay(), 98);

  enemy.SetMode(2);  // neither formation nor dive: nothing happens
  enemy.RunScript(world, world, world, world);
  EXPECT_FLOAT_EQ(enemy.GetFloatX(), 103.0f);
  EXPECT_EQ(world.chancesAsked.size(), 2u);
}
