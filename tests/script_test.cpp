// Movement scripts: the parser's corners, the interpreter's timing and
// commands in both command sets, aiming, and the tracer tool.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "game/enemy_chara.h"
#include "game/potion_chara.h"
#include "script/aim.h"
#include "script/script_runner.h"
#include "tests/doubles.h"
#include "tests/run_helpers.h"

namespace {

// The records as "opcode,arg1,arg2", space-separated.
std::string Records(const NScript& script) {
  std::string out;
  for (uint32_t i = 0; i < script.GetCount(); ++i) {
    const NScriptCommand& c = script.GetCommand(i);
    out += (i ? " " : "") + std::to_string(c.opcode) + "," + std::to_string(c.arg1) + "," + std::to_string(c.arg2);
  }
  return out;
}

// Runs a script on a two-frame 46x46 enemy part at (100, 200), centre
// (123, 223), or with the reduced set on a potion sprite there. One entry
// per frame, "|"-separated: "x,y", " fN" for a frame other than 0, then
// what the frame played (" sN") and fired (" shoot P@X,Y").
std::string Trace(const std::string& text, int frames, bool reduced, TestWorld& world) {
  FillDirectionTables();
  NScript script = ScriptOf(text);
  NEnemyChara enemy(Surface(46, 92), &script, 2, 1);
  NPotionChara potion(Surface(46, 46), &script, NPotionChara::kPotion);
  NSprite256& sprite = reduced ? static_cast<NSprite256&>(potion) : enemy;
  sprite.SetPosition(100, 200);
  std::string out;
  for (int t = 0; t < frames; ++t) {
    world.events.clear();
    reduced ? potion.Step(world) : enemy.RunScript(world, world, world, world);
    out += (t ? "|" : "") + std::to_string(sprite.GetX()) + "," + std::to_string(sprite.GetY());
    if (sprite.GetFrame() != 0) out += " f" + std::to_string(sprite.GetFrame());
    for (const std::string& e : world.events) out += e.starts_with("sound ") ? " s" + e.substr(6) : " " + e;
  }
  return out;
}

std::string Trace(const std::string& text, int frames, bool reduced) {
  TestWorld world;
  return Trace(text, frames, reduced, world);
}

}  // namespace

TEST(ScriptParser, LinesBecomeRecordsByTheRules) {
  struct Case {
    const char* text;
    const char* records;
  } cases[] = {
      // Blank lines, whole-line comments and spaces at both ends leave no trace.
      {"// Game\r\n\r\nDIRECTION 29\r\n  LABEL 1 \r\nMOVE 4 // down\r\n/ no comment\r\n", "7,29,0 12,1,0 1,4,0 0,0,0"},
      // Keywords match exactly: lower case, a prefix, a tab make unknown records.
      {"move 5\nMOVE_X 2\nMOVE\t5\nRETURN \n", "0,5,0 0,2,0 0,0,0 22,0,0"},
      {"INCR_FRAME\nDIRECTION_TO_MYCHARA 7\nSPEED fast\nSTOP -\n", "15,0,0 8,7,0 5,0,0 2,0,0"},
      // A comma splits only when something stands before it.
      {"SET_BULLET_OFFSET 0 , 4\nSET_BULLET_OFFSET ,5\nSET_BULLET_OFFSET -14,-96\n", "19,0,4 19,0,0 19,-14,-96"},
      {"SET_BULLET_OFFSET 1,,2\nSET_BULLET_OFFSET 3,\n", "19,1,2 19,3,0"},
      // A line starting with ~ ends the text; a later ~ does not count.
      {"MOVE 1\nSTOP 2~\n  ~\nMOVE 3\n", "1,1,0 2,2,0"},
      {"~~~END~~~\nMOVE 3\n", ""},
      {"SPEED 4\r\nMOVE 3", "5,4,0 1,3,0"},
  };
  for (const Case& c : cases) EXPECT_EQ(Records(ScriptOf(c.text)), c.records) << c.text;
  std::string all;
  for (int op = 1; op <= kScriptKeywordCount; ++op) all += std::string(ScriptKeyword(op)) + " 3\n";
  NScript script = ScriptOf(all);
  ASSERT_EQ(script.GetCount(), 22u);
  for (uint32_t i = 0; i < 22; ++i) EXPECT_EQ(script.GetCommand(i).opcode, static_cast<int>(i + 1));
  EXPECT_EQ(NScript(9999).GetCount(), 0u);  // a missing resource
}

TEST(ScriptParser, NumbersReadLikeCsDecimalConversionAndStickAtThirtyTwoBits) {
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {{"42", 42},
               {"  \t-17xyz", -17},
               {"+8", 8},
               {"- 8", 0},
               {"0x1F", 0},
               {"", 0},
               {"2147483648", INT_MAX},
               {"-2147483648", INT_MIN},
               {"-99999999999999999999999", INT_MIN},
               {"00000000000000000000012", 12}};
  for (const Case& c : cases) EXPECT_EQ(ParseScriptNumber(c.text), c.value) << c.text;
}

TEST(ScriptParser, LabelsResolveToTheirFirstOccurrence) {
  NScript script = ScriptOf("LABEL 2\nMOVE 1\nLABEL 1\nLABEL 2\nlabel 3\nLABEL -4\n");
  EXPECT_EQ(script.FindLabel(2), 0);
  EXPECT_EQ(script.FindLabel(1), 2);
  EXPECT_EQ(script.FindLabel(3), -1);
  EXPECT_EQ(script.FindLabel(-4), 5);
}

TEST(ScriptInterpreter, CommandsTakeTheirFramesAndDoWhatTheySay) {
  enum Sets { kFull = 1, kReduced = 2, kBoth = 3 };
  struct Case {
    int sets;
    const char* text;
    const char* frames;
  } cases[] = {
      // Only MOVE and STOP with a count left take a frame.
      {kBoth, "SPEED 4\nDIRECTION 8\nMOVE 3\nPLAY_SOUND 5\nSTOP 2\nMOVE 0\nSTOP 0\nMOVE -3\nPLAY_SOUND 6\nSTOP 99\n",
       "100,196|100,192|100,188|100,188 s5|100,188|100,188 s6|100,188"},
      // Running off the last line goes on with the first.
      {kBoth, "PLAY_SOUND 1\nSHIFT_X 3\nSHIFT_Y -1\nSTOP 1\nPLAY_SOUND 2\n", "103,199 s1|106,198 s2 s1|109,197 s2 s1"},
      // A block runs its count of times, and at least once.
      {kBoth, "REPEAT 3\nSTOP 1\nREPEAT_END\nPLAY_SOUND 9\nSTOP 9\n", "100,200|100,200|100,200|100,200 s9"},
      {kBoth, "REPEAT 0\nSTOP 1\nREPEAT_END\nPLAY_SOUND 9\nSTOP 9\n", "100,200|100,200 s9"},
      // A jump goes to the first LABEL k; without one it falls through.
      {kBoth, "GOTO_LABEL 9\nSTOP 1\nLABEL 2\nPLAY_SOUND 1\nSTOP 1\nLABEL 2\nPLAY_SOUND 2\nSTOP 1\nGOTO_LABEL 2\n",
       "100,200|100,200 s1|100,200 s2|100,200 s1"},
      // RETURN goes back after its GOSUB; a stray one goes on.
      {kFull, "LABEL 1\nGOSUB 2\nPLAY_SOUND 1\nSTOP 1\nGOTO_LABEL 1\nLABEL 2\nPLAY_SOUND 2\nSTOP 2\nRETURN\n",
       "100,200 s2|100,200|100,200 s1|100,200 s2|100,200|100,200 s1"},
      {kFull, "PLAY_SOUND 1\nRETURN\nPLAY_SOUND 2\nSTOP 1\n", "100,200 s1 s2"},
      {kFull, "GOSUB 7\nPLAY_SOUND 3\nSTOP 1\nRETURN\nPLAY_SOUND 4\nSTOP 5\n", "100,200 s3|100,200 s3"},
      // Turns wrap at 32 and keep "no direction"; the reduced set cannot reverse.
      {kFull,
       "SPEED 10\nDIRECTION 8\nROTATE_RIGHT 8\nMOVE 1\nROTATE_LEFT 40\nMOVE 1\nDIRECTION_REVERSE\nMOVE 1\n"
       "ROTATE_RIGHT 40\nMOVE 1\nDIRECTION -1\nROTATE_LEFT 3\nROTATE_RIGHT 2\nDIRECTION_REVERSE\nMOVE 1\n",
       "110,200|110,190|110,200|100,200|100,200"},
      {kReduced,
       "SPEED 10\nDIRECTION 8\nROTATE_RIGHT 8\nMOVE 1\nROTATE_LEFT 40\nMOVE 1\nDIRECTION_REVERSE\nMOVE 1\n"
       "ROTATE_RIGHT 40\nMOVE 1\n",
       "110,200|110,190|110,180|120,180"},
      // Shots leave from the centre plus the bullet offset.
      {kFull, "SHOOT 5\nSET_BULLET_OFFSET -14,-96\nSHOOT 107\nSTOP 1\n", "100,200 shoot 5@123,223 shoot 107@109,127"},
      {kFull, "SET_FRAME 1\nSTOP 1\nINCR_FRAME\nSTOP 1\nSET_FRAME 7\nSTOP 1\n", "100,200 f1|100,200|100,200 f7"},
      // The reduced set skips aiming, shooting, frames and subroutines.
      {kReduced,
       "DIRECTION 8\nSET_FRAME 1\nINCR_FRAME\nSHOOT 3\nDIRECTION_TO_MYCHARA\nGOSUB 1\nRETURN\nPLAY_SOUND 4\n"
       "MOVE 1\nSTOP 9\nLABEL 1\nPLAY_SOUND 8\n",
       "100,199 s4"},
      // A script without commands leaves its sprite where it is.
      {kBoth, "", "100,200|100,200"},
  };
  for (const Case& c : cases) {
    int frames = static_cast<int>(std::count(c.frames, c.frames + std::strlen(c.frames), '|')) + 1;
    for (bool reduced : {false, true}) {
      if (c.sets & (reduced ? kReduced : kFull)) {
        EXPECT_EQ(Trace(c.text, frames, reduced), c.frames) << (reduced ? "reduced" : "full") << " set:\n" << c.text;
      }
    }
  }
}

TEST(ScriptInterpreter, AimingTurnsToThePlayerInsideTheDownwardConeWhenAsked) {
  // The part's centre is (123, 223); one step of 10 along the direction chosen.
  struct Case {
    int playerX, playerY;
    const char* cone;  // DIRECTION_TO_MYCHARA 7: directions 21..27 only
    const char* free;
  } cases[] = {{400, 223, "106,208", "110,200"},   // right: 27, 0
               {123, 50, "94,208", "100,190"},     // above: 21, 8
               {123, 450, "100,210", "100,210"},   // below: 24
               {223, 323, "106,208", "107,207"}};  // below right: 27, 28
  for (const Case& c : cases) {
    TestWorld world;
    world.playerX = c.playerX;
    world.playerY = c.playerY;
    EXPECT_EQ(Trace("DIRECTION_TO_MYCHARA 7\nSPEED 10\nMOVE 1\n", 1, false, world), c.cone)
        << c.playerX << "," << c.playerY;
    EXPECT_EQ(Trace("DIRECTION_TO_MYCHARA\nSPEED 10\nMOVE 1\n", 1, false, world), c.free)
        << c.playerX << "," << c.playerY;
  }
  // The nearest of the 32 steps; 5.625 degrees is the edge between 0 and 1.
  EXPECT_EQ(DirectionTo(0, 0, 1000, -98), 0);
  EXPECT_EQ(DirectionTo(0, 0, 1000, -99), 1);
  EXPECT_EQ(DirectionTo(0, 0, 1000, 99), 31);
  EXPECT_EQ(DirectionTo(0, INT_MIN, 0, INT_MAX), 24);
}

TEST(ScriptInterpreter, SpeedPercentIsSinglePrecisionAndBrokenScriptsStaySafe) {
  FillDirectionTables();
  NScript percent = ScriptOf("SPEED 1\nSPEED_PERCENT 65\nSPEED_PERCENT 65\nSTOP 1\n");
  NPotionChara potion(Surface(19, 23), &percent, NPotionChara::kPotion);
  potion.Move();
  EXPECT_EQ(potion.GetSpeed(), 0.422499955f);  // double arithmetic gives 0.422499985

  // A loop without MOVE or STOP ends the frame after 10000 commands.
  TestWorld world;
  Trace("LABEL 1\nPLAY_SOUND 1\nGOTO_LABEL 1\n", 2, false, world);
  EXPECT_GT(world.events.size(), 1000u);
  EXPECT_LE(world.events.size(), static_cast<size_t>(kMaxCommandsPerFrame));
  EXPECT_EQ(Trace("hello 1\nworld 2\n", 2, true), "100,200|100,200");
  // Absurd arguments keep positions, directions and frames defined.
  EXPECT_EQ(Trace("DIRECTION 2147483647\nROTATE_LEFT 2147483647\nROTATE_RIGHT -2147483648\nSET_FRAME 2147483647\n"
                  "INCR_FRAME\nSET_BULLET_OFFSET 2147483647,-2147483648\nSHOOT -1\nREPEAT -2147483648\nREPEAT_END\n"
                  "MOVE -2147483648\nSTOP 1\n",
                  1, false),
            "100,200 shoot -1@2147483647,-2147483425");
}

TEST(ScriptTracer, TheToolListsRecordsAndTracesFrames) {
  auto dir = TestDir("tracer");
  std::ofstream(dir / "up.txt", std::ios::binary) << "// up\r\nSPEED 4\r\nDIRECTION 8\r\nMOVE 3\r\nSTOP 5\r\n";
  std::string tool = (std::filesystem::path(VELLORIA_EXE).parent_path() / "velloria-script").string();
  for (const char* args : {"", "--trace 4 --at 100,200 "}) {
    ASSERT_EQ(std::system((tool + " " + args + (dir / "up.txt").string() + " > " + (dir / "out").string()).c_str()), 0);
    EXPECT_EQ(ReadFile(dir / "out"), *args
                                         ? "t=1 x=100 y=196 speed=4 dir=8 img=0\nt=2 x=100 y=192 speed=4 dir=8 img=0\n"
                                           "t=3 x=100 y=188 speed=4 dir=8 img=0\nt=4 x=100 y=188 speed=4 dir=8 img=0\n"
                                         : "0: (5, 4, 0) SPEED\n1: (7, 8, 0) DIRECTION\n2: (1, 3, 0) MOVE\n"
                                           "3: (2, 5, 0) STOP\n");
  }
}
