#include "game/script_tracer.h"
#include "gfx/dib256.h"
#include "packed_bitmap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "run_helpers.h"
#include "script_doubles.h"

namespace {

using Lines = std::vector<std::string>;

// Runs the tracer tool that is built beside the game; returns its output.
std::string RunTracer(const std::string& args) {
  std::filesystem::path tool = std::filesystem::path(VELLORIA_EXE).parent_path() / "velloria-script";
  std::string out;
  FILE* pipe = ::popen((tool.string() + " " + args + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[512];
  while (std::fgets(buffer, sizeof(buffer), pipe)) out += buffer;
  ::pclose(pipe);
  return out;
}

}  // namespace

TEST(ScriptTracer, ToolShowsEachMoveStepAndTheNextCommandInTheFourthFrame) {
  std::filesystem::path dir = TestDir("tracer");
  std::filesystem::path file = dir / "up.txt";
  std::ofstream(file, std::ios::binary) << "// up\r\nSPEED 4\r\nDIRECTION 8\r\nMOVE 3\r\nSTOP 5\r\n";
  EXPECT_EQ(RunTracer("--trace 9 --at 100,200 " + file.string()),
            "t=1 x=100 y=196 speed=4 dir=8 img=0\n"
            "t=2 x=100 y=192 speed=4 dir=8 img=0\n"
            "t=3 x=100 y=188 speed=4 dir=8 img=0\n"
            "t=4 x=100 y=188 speed=4 dir=8 img=0\n"
            "t=5 x=100 y=188 speed=4 dir=8 img=0\n"
            "t=6 x=100 y=188 speed=4 dir=8 img=0\n"
            "t=7 x=100 y=188 speed=4 dir=8 img=0\n"
            "t=8 x=100 y=188 speed=4 dir=8 img=0\n"
            "t=9 x=100 y=184 speed=4 dir=8 img=0\n");
  EXPECT_EQ(RunTracer(file.string()),
            "0: (5, 4, 0) SPEED\n1: (7, 8, 0) DIRECTION\n2: (1, 3, 0) MOVE\n3: (2, 5, 0) STOP\n");
  std::filesystem::remove_all(dir);
}

TEST(ScriptTracer, LinesCarrySoundsShotsAndFramesInOrder) {
  NScript script = ScriptOf(
      "SET_BULLET_OFFSET 0,4\nPLAY_SOUND 6\nSHOOT 15\nINCR_FRAME\nMOVE 1\n"
      "DIRECTION_TO_MYCHARA 7\nSPEED_PERCENT 65\nSHOOT 16\nPLAY_SOUND 10\nSTOP 1\n");
  TraceSetup setup;
  setup.atX = 300;
  setup.atY = 10;
  setup.framesInBitmap = 2;
  setup.frameWidth = 40;
  setup.frameHeight = 30;
  setup.playerX = 0;  // below and to the left: aimed down-left
  setup.playerY = 405;
  EXPECT_EQ(TraceScript(script, setup, 3), (Lines{"t=1 x=303 y=10 speed=2.5 dir=0 img=1 sound=6 shoot=15@320,29",
                                                  "t=2 x=303 y=10 speed=1.625 dir=21 img=1 shoot=16@323,29 sound=10",
                                                  "t=3 x=302 y=11 speed=1.625 dir=21 img=0 sound=6 shoot=15@323,29"}));

  setup.reduced = true;  // a potion: speed 1, no direction, one frame
  EXPECT_EQ(TraceScript(script, setup, 2),
            (Lines{"t=1 x=300 y=10 speed=1 dir=-1 img=0 sound=6", "t=2 x=300 y=10 speed=0.65 dir=-1 img=0 sound=10"}));
}

TEST(ScriptTracer, BitmapGivesTheFrameSize) {
  NDib256 strip(PackedBitmap(30, 40, std::vector<uint8_t>(30 * 40, 7)));
  ASSERT_FALSE(strip.IsEmpty());
  NScript script = ScriptOf("SHOOT 3\nINCR_FRAME\nSTOP 1\n");
  TraceSetup setup;
  setup.bitmap = &strip;
  setup.framesInBitmap = 2;
  setup.frameWidth = 2;  // ignored when there is a bitmap
  setup.frameHeight = 2;
  EXPECT_EQ(TraceScript(script, setup, 2), (Lines{"t=1 x=0 y=0 speed=2.5 dir=0 img=1 shoot=3@15,10",
                                                  "t=2 x=0 y=0 speed=2.5 dir=0 img=0 shoot=3@15,10"}));
}

TEST(ScriptTracer, SpeedsShowUpToThreeDecimals) {
  EXPECT_EQ(FormatSpeed(4.0f), "4");
  EXPECT_EQ(FormatSpeed(2.5f), "2.5");
  EXPECT_EQ(FormatSpeed(0.422499955f), "0.422");
  EXPECT_EQ(FormatSpeed(0.0f), "0");
  EXPECT_EQ(FormatSpeed(-0.0001f), "0");
  EXPECT_EQ(FormatSpeed(-3.25f), "-3.25");
  EXPECT_EQ(FormatSpeed(30.0f), "30");
}
