#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "gfx/ascii.h"
#include "gfx/number.h"
#include "gfx/sprite256.h"
#include "tests/png_probe.h"
#include "tests/run_helpers.h"

namespace {

std::string Scenario(const std::string& name) { return std::string(VELLORIA_SOURCE_DIR) + "/tests/scenarios/" + name; }

// frame -> scene state, from a --stats file.
std::map<int, int> SceneStates(const std::filesystem::path& stats) {
  std::map<int, int> states;
  std::ifstream in(stats);
  std::string line;
  while (std::getline(in, line)) {
    int frame = 0, scene = 0;
    if (std::sscanf(line.c_str(), "frame=%d scene=%d", &frame, &scene) == 2) states[frame] = scene;
  }
  return states;
}

// The first frame at or after `from` whose line shows the state, or -1.
int FirstFrameIn(const std::map<int, int>& states, int state, int from = 0) {
  for (auto it = states.lower_bound(from); it != states.end(); ++it) {
    if (it->second == state) return it->first;
  }
  return -1;
}

struct Row {
  int score;
  const char* name;
};

// The ranking's rows as they should stand: places, names in font 1 and
// four-digit scores, all drawn over the row marks.
int RankingMismatches(const ShotPicture& shot, const std::vector<Row>& rows) {
  Surface expected(640, 480);
  constexpr uint8_t kUnset = 0x5A;
  expected.FillAll(kUnset);
  NAscii font;
  font.SetTarget(&expected);
  font.SetFont(1);
  NNumber digits;
  digits.SetTarget(&expected);
  for (size_t i = 0; i < rows.size(); ++i) {
    int y = 157 + 36 * static_cast<int>(i);
    digits.DrawNumber(171, y + 4, static_cast<int>(i) + 1, 1);
    font.DrawText(213, y + 7, rows[i].name);
    digits.DrawNumber(394, y + 5, rows[i].score, 4);
  }
  NSprite256 banner(291, 1);
  banner.SetCenter(320, 82);
  banner.Draw(&expected);
  int compared = 0;
  int differ = CountMismatches(shot, expected, kUnset, &compared);
  EXPECT_GT(compared, 8 * 4 * 100);
  return differ;
}

// A row mark's checkered pixels show beside every name.
int RowMarkMismatches(const ShotPicture& shot) {
  NSprite256 mark(293, 1);
  Surface strip(mark.GetWidth(), mark.GetHeight());
  mark.SetTransparent(false);
  mark.Draw(&strip);
  int differ = 0;
  for (int i = 0; i < 8; ++i) {
    int y = 157 + 36 * i;
    // Between the longest name and the score the strip shows plain.
    for (int dy = 0; dy < strip.Height(); ++dy) {
      for (int dx = 185; dx < 195; ++dx) {
        uint8_t want = strip.At(dx, dy);
        if (want != mark.GetColorKey() && shot.At(196 + dx, y + dy) != want) ++differ;
      }
    }
  }
  return differ;
}

class FrontEndRun : public ::testing::Test {
 protected:
  void SetUp() override { dir = TestDir(::testing::UnitTest::GetInstance()->current_test_info()->name()); }
  void TearDown() override { std::filesystem::remove_all(dir); }
  RunResult Run(const std::string& args) {
    return RunGame("--headless --stats " + (dir / "stats.txt").string() + " --sound-log " +
                       (dir / "sounds.txt").string() + " " + args,
                   (dir / "config").string());
  }
  std::filesystem::path dir;
};

}  // namespace

TEST_F(FrontEndRun, TheRankingShowsTheStoredTableAndKeysDuringCurtainsDoNothing) {
  std::filesystem::create_directories(dir / "config/KorvaGames/Velloria");
  std::ofstream(dir / "config/KorvaGames/Velloria/ranking.ini")
      << "[Software\\KorvaGames\\Velloria]\n"
      << "Rank0=9876,ALICE\nRank1=512,  BOB  \nRank2=garbage\nRank3=12345,TOO MANY\n"
      << "Rank4=77,A NAME THAT IS FAR TOO LONG\nRank5=6,Z\nRank6=0,\nRank7=40,KORVA GAMES\n";
  RunResult r = Run("--frames 400 --input " + Scenario("title_to_ranking.txt") + " --shot 320:" +
                    (dir / "ranking.png").string());
  ASSERT_EQ(r.code, 0) << r.errors;

  auto states = SceneStates(dir / "stats.txt");
  EXPECT_EQ(FirstFrameIn(states, 6), 227);  // the logo could not be skipped
  EXPECT_EQ(FirstFrameIn(states, 7), 285);  // RANKING, chosen at 260, after the curtain
  EXPECT_EQ(FirstFrameIn(states, 8), 286);
  EXPECT_EQ(FirstFrameIn(states, 5, 286), 355);  // confirmed at 330, not at 300
  EXPECT_EQ(FirstFrameIn(states, 6, 286), 356);

  std::string sounds = ReadFile(dir / "sounds.txt");
  EXPECT_NE(sounds.find("254 play 11\n256 play 11\n258 play 11\n260 play 3\n"), std::string::npos) << sounds;
  size_t lastMove = sounds.find("258 play 11\n");
  ASSERT_NE(lastMove, std::string::npos);
  EXPECT_EQ(sounds.find(" play 11\n", lastMove + 12), std::string::npos) << sounds;
  EXPECT_NE(sounds.find("286 music close Music03.mid\n330 play 3\n"), std::string::npos) << sounds;

  ShotPicture shot = ReadShot(dir / "ranking.png");
  ASSERT_EQ(shot.width, 640);
  EXPECT_EQ(RankingMismatches(shot, {{9876, "ALICE"},
                                     {512, "BOB"},
                                     {0, "ERROR"},
                                     {0, "TOO MANY"},
                                     {77, "A NAME THAT IS "},
                                     {6, "Z"},
                                     {0, ""},
                                     {40, "KORVA GAMES"}}),
            0);
  EXPECT_EQ(RowMarkMismatches(shot), 0);
}

TEST_F(FrontEndRun, AFreshUserSeesTheEightDefaultEntries) {
  RunResult r = Run("--frames 330 --input " + Scenario("title_to_ranking.txt") + " --shot 320:" +
                    (dir / "ranking.png").string());
  ASSERT_EQ(r.code, 0) << r.errors;
  ShotPicture shot = ReadShot(dir / "ranking.png");
  ASSERT_EQ(shot.width, 640);
  std::vector<Row> defaults;
  for (int i = 0; i < 8; ++i) defaults.push_back({100 - 10 * i, "KORVA GAMES"});
  EXPECT_EQ(RankingMismatches(shot, defaults), 0);
  // Not just any table fits: the first score reads 0100.
  defaults[0].score = 1000;
  EXPECT_GT(RankingMismatches(shot, defaults), 0);
}

TEST_F(FrontEndRun, UpFromTheFirstItemWithConfirmInTheSameFrameQuits) {
  RunResult r = Run("--frames 1000 --input " + Scenario("title_quit_wraps.txt"));
  ASSERT_EQ(r.code, 0) << r.errors;
  auto states = SceneStates(dir / "stats.txt");
  ASSERT_FALSE(states.empty());
  // The curtain closes for 25 frames, then the quit state ends the run.
  EXPECT_EQ(states.rbegin()->first, 279);
  EXPECT_EQ(states.rbegin()->second, 14);
  EXPECT_EQ(FirstFrameIn(states, 14), 279);
  std::string sounds = ReadFile(dir / "sounds.txt");
  EXPECT_NE(sounds.find("6 play 17\n"), std::string::npos) << sounds;
  EXPECT_NE(sounds.find("227 music open Music03.mid\n227 music play Music03.mid\n254 play 11\n254 play 3\n"),
            std::string::npos)
      << sounds;
}
