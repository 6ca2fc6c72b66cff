// The whole game played by the autopilot, from the first level to the ending.
#include <gtest/gtest.h>

#include "app/scene.h"
#include "app/stats_log.h"
#include "game/game.h"
#include "tests/run_helpers.h"

TEST(WholeGame, TheAutopilotPlaysEveryLevelInOrderToTheEndingAndBackToTheTitle) {
  auto dir = TestDir("whole-game");
  // The ending comes near frame 50,500.
  RunResult r = RunGame("--headless --start 1-1 --frames 51000 --autopilot --invulnerable --stats " +
                        (dir / "stats.txt").string());
  ASSERT_EQ(r.code, 0) << r.errors;
  auto stats = ReadStats(dir / "stats.txt");
  std::vector<std::string> levels;  // as the game went through them
  size_t ending = 0;
  for (size_t i = 0; i < stats.size() && !ending; ++i) {
    if (stats[i]["scene"] == StatsLog::Value(scene_state::kEndingStart)) ending = i;
    if (stats[i]["stage"] == "-") continue;
    std::string here = stats[i]["stage"] + "-" + stats[i]["level"];
    if (levels.empty() || levels.back() != here) {
      // Every level but the last ended with its closing curtain: cleared, not lost.
      if (!levels.empty()) {
        EXPECT_EQ(stats[i - 1]["state"], StatsLog::Value(game_state::kLevelClosing)) << "leaving " << levels.back();
      }
      levels.push_back(here);
    }
  }
  ASSERT_GT(ending, 0u) << "the ending was not reached; last level " << (levels.empty() ? "none" : levels.back());
  std::vector<std::string> expected;
  for (int stage = 1; stage <= 4; ++stage) {
    for (int level = 1; level <= (stage < 4 ? 16 : 5); ++level) {
      expected.push_back(std::to_string(stage) + "-" + std::to_string(level));
    }
  }
  EXPECT_EQ(levels, expected);
  bool title = false;
  for (size_t i = ending; i < stats.size(); ++i)
    title = title || stats[i]["scene"] == StatsLog::Value(scene_state::kTitleRunning);
  EXPECT_TRUE(title) << "the ending did not hand over to the title";
}
