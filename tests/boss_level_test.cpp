#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "tests/run_helpers.h"

namespace {

using StatsLine = std::map<std::string, std::string>;

std::vector<StatsLine> ReadStats(const std::filesystem::path& path) {
  std::vector<StatsLine> lines;
  std::istringstream text(ReadFile(path));
  for (std::string line; std::getline(text, line);) {
    StatsLine fields;
    std::istringstream words(line);
    for (std::string word; words >> word;) {
      size_t eq = word.find('=');
      fields[word.substr(0, eq)] = word.substr(eq + 1);
    }
    lines.push_back(fields);
  }
  return lines;
}

// A witch who never moves, never gets hurt and fires on every other frame,
// with a full power level: she beats each boss in the end.
std::vector<StatsLine> FightBoss(const std::string& name, const std::string& level, int frames) {
  auto dir = TestDir(name);
  std::ofstream input(dir / "fire.txt");
  input << "seed 1\n";
  for (int f = 0; f < frames; f += 2) input << f << " +SPACE\n" << f + 1 << " -SPACE\n";
  input.close();
  RunResult r = RunGame("--headless --invulnerable --start " + level + ":250 --frames " + std::to_string(frames) +
                            " --input " + (dir / "fire.txt").string() + " --stats " + (dir / "stats.txt").string(),
                        (dir / "config").string());
  EXPECT_EQ(r.code, 0) << r.errors;
  return ReadStats(dir / "stats.txt");
}

constexpr const char* kPlaying = "1";
constexpr const char* kLevelClear = "5";
constexpr const char* kNameEntry = "8";

}  // namespace

TEST(BossLevel, ClearsOnlyOnceTheBodysRegionHasBurntOut) {
  std::vector<StatsLine> stats = FightBoss("boss-clear", "3-16", 1200);
  ASSERT_EQ(stats.size(), 1200u);
  EXPECT_EQ(stats[0]["boss"], "600");
  size_t down = 0;
  bool hurt = false;
  for (size_t f = 0; f < stats.size() && !down; ++f) {
    hurt = hurt || (stats[f]["boss"] != "600" && stats[f]["boss"] != "-");
    if (stats[f]["boss"] == "-") down = f;
  }
  ASSERT_NE(down, 0u) << "the dragon was never beaten";
  EXPECT_TRUE(hurt);  // its hit points fell step by step
  ASSERT_LT(down + 200, stats.size());
  // The region burns for 100 frames, the one of the last hit included.
  for (size_t f = down; f < down + 99; ++f) ASSERT_EQ(stats[f]["state"], kPlaying) << "frame " << f;
  EXPECT_EQ(stats[down + 99]["state"], kLevelClear);
  // Then the next stage opens with its first boss.
  bool next = false;
  for (size_t f = down; f < stats.size(); ++f) {
    next = next || (stats[f]["stage"] == "4" && stats[f]["level"] == "1" && stats[f]["boss"] == "160");
  }
  EXPECT_TRUE(next);
}

TEST(BossLevel, BeatingTheLastBossEndsTheGameWithTheNameEntry) {
  std::vector<StatsLine> stats = FightBoss("boss-last", "4-5", 6000);
  ASSERT_FALSE(stats.empty());
  EXPECT_EQ(stats[0]["boss"], "360");
  EXPECT_EQ(stats.back()["state"], kNameEntry);  // 250 potions rank on an empty table
  EXPECT_EQ(stats.back()["stage"], "4");
  EXPECT_EQ(stats.back()["level"], "5");
}
