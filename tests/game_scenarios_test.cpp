#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/run_helpers.h"

namespace {

// One --stats line as key -> value.
std::map<std::string, std::string> Fields(const std::string& line) {
  std::map<std::string, std::string> fields;
  std::istringstream in(line);
  for (std::string pair; in >> pair;) {
    size_t eq = pair.find('=');
    if (eq != std::string::npos) fields[pair.substr(0, eq)] = pair.substr(eq + 1);
  }
  return fields;
}

std::vector<std::map<std::string, std::string>> ReadStats(const std::filesystem::path& path) {
  std::vector<std::map<std::string, std::string>> lines;
  std::istringstream in(ReadFile(path));
  for (std::string line; std::getline(in, line);) lines.push_back(Fields(line));
  return lines;
}

}  // namespace

TEST(GameScenario, HoldingFireAndSweepingClearsTheFirstLevel) {
  auto dir = TestDir("sweep");
  // Presses of fire every four frames; left and right held in turns.
  std::multimap<int, std::string> events;
  for (int f = 90; f < 3000; f += 4) {
    events.insert({f, "+SPACE"});
    events.insert({f + 2, "-SPACE"});
  }
  // From the middle to the left edge, then edge to edge: 75 steps of 8 pixels.
  events.insert({90, "+LEFT"});
  events.insert({128, "-LEFT"});
  for (int f = 130, n = 0; f < 3000; f += 77, ++n) {
    std::string key = n % 2 ? "LEFT" : "RIGHT";
    events.insert({f, "+" + key});
    events.insert({f + 75, "-" + key});
  }
  std::ofstream input(dir / "input.txt");
  input << "seed 9\n";
  for (const auto& [frame, what] : events) input << frame << " " << what << "\n";
  input.close();
  RunResult r = RunGame("--headless --start 1-1 --frames 3000 --invulnerable --input " + (dir / "input.txt").string() +
                        " --stats " + (dir / "stats.txt").string());
  ASSERT_EQ(r.code, 0) << r.errors;
  auto stats = ReadStats(dir / "stats.txt");
  ASSERT_EQ(stats.size(), 3000u);
  EXPECT_EQ(stats[1]["enemies"], "21");
  int cleared = -1;
  for (size_t i = 0; i < stats.size(); ++i) {
    if (stats[i]["level"] == "2") {
      cleared = static_cast<int>(i);
      break;
    }
  }
  ASSERT_GT(cleared, 0) << "the first level was never cleared";
  EXPECT_EQ(stats[static_cast<size_t>(cleared) - 1]["state"], "7");  // after the closing curtain
  EXPECT_NE(stats[static_cast<size_t>(cleared) - 200]["potions"], "0");
}

TEST(GameScenario, TunesChangeOnlyBetweenOrdinaryAndBossLevels) {
  auto dir = TestDir("tunes");
  RunResult r = RunGame("--headless --start 1-6 --frames 9000 --autopilot --invulnerable --sound-log " +
                        (dir / "sounds.txt").string() + " --stats " + (dir / "stats.txt").string());
  ASSERT_EQ(r.code, 0) << r.errors;
  std::istringstream log(ReadFile(dir / "sounds.txt"));
  std::vector<std::string> opened;
  for (std::string line; std::getline(log, line);) {
    if (line.find(" music open ") != std::string::npos) opened.push_back(line.substr(line.rfind(' ') + 1));
  }
  auto stats = ReadStats(dir / "stats.txt");
  int highest = 0;
  for (auto& s : stats) {
    if (s["level"] != "-") highest = std::max(highest, std::stoi(s["level"]));
  }
  ASSERT_GE(highest, 9) << "the autopilot did not get past the boss level";
  // Levels 6 and 7 share the level tune, 8 is a boss level, 9 goes back.
  ASSERT_GE(opened.size(), 3u);
  EXPECT_EQ(opened[0], "Music01.mid");
  EXPECT_EQ(opened[1], "Music02.mid");
  EXPECT_EQ(opened[2], "Music01.mid");
}

TEST(GameScenario, BeatingTheBossOfLevelSixteenLeadsToTheNextStage) {
  auto dir = TestDir("stage-end");
  RunResult r = RunGame("--headless --start 2-16:250 --frames 12000 --autopilot --invulnerable --stats " +
                        (dir / "stats.txt").string());
  ASSERT_EQ(r.code, 0) << r.errors;
  auto stats = ReadStats(dir / "stats.txt");
  size_t next = 0;
  for (size_t i = 0; i < stats.size() && !next; ++i) {
    if (stats[i]["stage"] == "3") next = i;
  }
  ASSERT_GT(next, 0u) << "stage 2's last boss was not beaten";
  EXPECT_EQ(stats[next]["level"], "1");
  EXPECT_EQ(stats[next - 1]["level"], "16");
  // The boss's hit points fell to nothing before the level ended.
  EXPECT_EQ(stats[next - 1]["boss"], "-");
}

TEST(GameScenario, TheAutopilotPlaysEveryLevelInOrderToTheEnding) {
  auto dir = TestDir("full-game");
  RunResult r = RunGame("--headless --start 1-1 --frames 100000 --autopilot --invulnerable --stats " +
                        (dir / "stats.txt").string());
  ASSERT_EQ(r.code, 0) << r.errors;
  auto stats = ReadStats(dir / "stats.txt");
  // The levels as the game went through them, each with the state it left in.
  std::vector<std::string> levels;
  std::vector<std::string> leftIn;
  bool ending = false;
  for (size_t i = 0; i < stats.size() && !ending; ++i) {
    auto& s = stats[i];
    if (s["scene"] == "11" || s["scene"] == "12") ending = true;
    if (s["stage"] == "-") continue;
    std::string here = s["stage"] + "-" + s["level"];
    if (levels.empty() || levels.back() != here) {
      if (!levels.empty()) leftIn.push_back(stats[i - 1]["state"]);
      levels.push_back(here);
    }
  }
  ASSERT_TRUE(ending) << "the ending was not reached; last level " << (levels.empty() ? "none" : levels.back());
  std::vector<std::string> expected;
  for (int stage = 1; stage <= 3; ++stage) {
    for (int level = 1; level <= 16; ++level) expected.push_back(std::to_string(stage) + "-" + std::to_string(level));
  }
  for (int level = 1; level <= 5; ++level) expected.push_back("4-" + std::to_string(level));
  EXPECT_EQ(levels, expected);
  // Every level but the last ended with its closing curtain (cleared, not lost).
  for (size_t i = 0; i < leftIn.size(); ++i) EXPECT_EQ(leftIn[i], "7") << "leaving " << levels[i];
}
