#include <gtest/gtest.h>

#include "tests/run_helpers.h"

TEST(HeadlessRun, EndsAfterTheFrameLimitWithExitCodeZero) {
  RunResult r = RunGame("--headless --frames 100");
  EXPECT_EQ(r.code, 0) << r.errors;
}

TEST(HeadlessRun, SameSeedAndInputGiveTheSamePictures) {
  auto dir = TestDir("determinism");
  std::ofstream(dir / "input.txt") << "seed 5\n3 +DOWN\n5 -DOWN\n20 +RETURN\n21 -RETURN\n";
  for (const char* run : {"a", "b"}) {
    RunResult r = RunGame("--headless --frames 60 --input " + (dir / "input.txt").string() +
                          " --shot 10:" + (dir / (std::string(run) + "10.png")).string() +
                          " --shot 59:" + (dir / (std::string(run) + "59.png")).string());
    ASSERT_EQ(r.code, 0) << r.errors;
  }
  for (const char* frame : {"10", "59"}) {
    std::string a = ReadFile(dir / (std::string("a") + frame + ".png"));
    std::string b = ReadFile(dir / (std::string("b") + frame + ".png"));
    ASSERT_GT(a.size(), 640u * 480u);
    EXPECT_EQ(a, b) << "frame " << frame;
    EXPECT_EQ(a.substr(1, 3), "PNG");
  }
}

TEST(HeadlessRun, MalformedInputFileStopsWithAMessageNamingTheLine) {
  auto dir = TestDir("badinput");
  std::ofstream(dir / "bad.txt") << "# fine\n3 +SPACE\n4 +NOTAKEY\n";
  RunResult r = RunGame("--headless --frames 10 --input " + (dir / "bad.txt").string());
  EXPECT_NE(r.code, 0);
  EXPECT_NE(r.errors.find("line 3"), std::string::npos) << r.errors;
}

TEST(HeadlessRun, RecordingAReplayGivesTheSameEventsAndSeed) {
  auto dir = TestDir("record");
  std::ofstream(dir / "in.txt") << "seed 42\n2 +LEFT\n9 -LEFT\n12 focus-\n15 focus+\n17 +A\n";
  RunResult r = RunGame("--headless --frames 30 --input " + (dir / "in.txt").string() + " --record " +
                        (dir / "out.txt").string());
  ASSERT_EQ(r.code, 0) << r.errors;
  std::string recorded = ReadFile(dir / "out.txt");
  EXPECT_NE(recorded.find("seed 42\n"), std::string::npos);
  EXPECT_NE(recorded.find("2 +LEFT\n9 -LEFT\n12 focus-\n15 focus+\n17 +A\n"), std::string::npos) << recorded;
}

TEST(HeadlessRun, UnknownOptionsAndHelp) {
  EXPECT_EQ(RunGame("--no-such-option").code, 2);
  EXPECT_EQ(RunGame("--help >/dev/null").code, 0);
  EXPECT_EQ(RunGame("--version >/dev/null").code, 0);
}

TEST(HeadlessRun, ASoakSeedGivesTheSameRunEveryTimeAndCannotBeMixedWithTheAutopilot) {
  auto dir = TestDir("soak");
  for (const char* run : {"a", "b"}) {
    RunResult r = RunGame("--headless --soak 9 --frames 3000 --stats " + (dir / (std::string(run) + ".txt")).string());
    ASSERT_EQ(r.code, 0) << r.errors;
  }
  std::string a = ReadFile(dir / "a.txt");
  EXPECT_EQ(a, ReadFile(dir / "b.txt"));
  // Random keys get past the logo and the title into a game.
  EXPECT_NE(a.find(" scene=4 state=1 "), std::string::npos);
  EXPECT_EQ(RunGame("--headless --soak 9 --autopilot --frames 10").code, 2);
}
