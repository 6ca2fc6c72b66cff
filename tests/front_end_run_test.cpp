#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "gfx/ascii.h"
#include "gfx/number.h"
#include "gfx/sprite256.h"
#include "tests/png_probe.h"
#include "tests/run_helpers.h"
#include "tests/stats_reader.h"

namespace {

std::string Scenario(const std::string& name) { return std::string(VELLORIA_SOURCE_DIR) + "/tests/scenarios/" + name; }

struct Row {
  int score;
  const char* name;
};

// The ranking's rows as they should stand: places, the row marks with names
// in font 1 over them, and four-digit scores.
int RankingMismatches(const ShotPicture& shot, const std::vector<Row>& rows) {
  Surface expected(640, 480);
  constexpr uint8_t kUnset = 0x5A;
  expected.FillAll(kUnset);
  NAscii font;
  font.SetTarget(&expected);
  font.SetFont(1);
  NNumber digits;
  digits.SetTarget(&expected);
  NSprite256 rowMark(293, 1);
  for (size_t i = 0; i < rows.size(); ++i) {
    int y = 157 + 36 * static_cast<int>(i);
    digits.DrawNumber(171, y + 4, static_cast<int>(i) + 1, 1);
    rowMark.SetPosition(196, y);
    rowMark.Draw(&expected);
    font.DrawText(213, y + 7, rows[i].name);
    digits.DrawNumber(394, y + 5, rows[i].score, 4);
  }
  NSprite256 banner(291, 1);
  banner.SetCenter(320, 82);
  banner.Draw(&expected);
  int compared = 0;
  int differ = CountMismatches(shot, expected, kUnset, &compared);
  EXPECT_GT(compared, 8 * 5000);
  return differ;
}

class FrontEndRun : public ::testing::Test {
 protected:
  void SetUp() override { dir = TestDir(::testing::UnitTest::GetInstance()->current_test_info()->name()); }
  void TearDown() override {
    if (!HasFailure()) std::filesystem::remove_all(dir);
  }
  RunResult Run(const std::string& args) {
    return RunGame("--headless --stats " + (dir / "stats.txt").string() + " --sound-log " +
                       (dir / "sounds.txt").string() + " --ranking " +
                       (dir / "config/KorvaGames/Velloria/ranking.ini").string() + " " + args,
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
  RunResult r =
      Run("--frames 400 --input " + Scenario("title_to_ranking.txt") + " --shot 320:" + (dir / "ranking.png").string());
  ASSERT_EQ(r.code, 0) << r.errors;

  auto states = ReadStats(dir / "stats.txt");
  EXPECT_EQ(FirstFrameWith(states, "scene", 6), 227);  // the logo could not be skipped
  EXPECT_EQ(FirstFrameWith(states, "scene", 7), 285);  // RANKING, chosen at 260, after the curtain
  EXPECT_EQ(FirstFrameWith(states, "scene", 8), 286);
  EXPECT_EQ(FirstFrameWith(states, "scene", 5, 286), 355);  // confirmed at 330, not at 300
  EXPECT_EQ(FirstFrameWith(states, "scene", 6, 286), 356);

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
}

TEST_F(FrontEndRun, AFreshUserSeesTheEightDefaultEntries) {
  RunResult r =
      Run("--frames 330 --input " + Scenario("title_to_ranking.txt") + " --shot 320:" + (dir / "ranking.png").string());
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
  auto states = ReadStats(dir / "stats.txt");
  ASSERT_FALSE(states.empty());
  // The curtain closes for 25 frames, then the quit state ends the run.
  EXPECT_EQ(states.rbegin()->first, 279);
  EXPECT_EQ(states.rbegin()->second.Get("scene"), 14);
  EXPECT_EQ(FirstFrameWith(states, "scene", 14), 279);
  std::string sounds = ReadFile(dir / "sounds.txt");
  EXPECT_NE(sounds.find("6 play 17\n"), std::string::npos) << sounds;
  EXPECT_NE(sounds.find("227 music open Music03.mid\n227 music play Music03.mid\n254 play 11\n254 play 3\n"),
            std::string::npos)
      << sounds;
}

namespace {

// Key presses of one frame each, from `frame` on, two frames apart.
std::string Presses(int frame, std::initializer_list<const char*> keys) {
  std::string lines;
  for (const char* key : keys) {
    lines += std::to_string(frame) + " +" + key + "\n" + std::to_string(frame + 1) + " -" + key + "\n";
    frame += 2;
  }
  return lines;
}

}  // namespace

TEST_F(FrontEndRun, TheWholeChainFromTheLogoThroughTwoGamesToTheRankingAndOut) {
  // Each stage of the chain is found in the statistics of a run of the input
  // so far; the same seed and input replay it exactly, so the next keys can
  // be appended at frames that are known to come.
  std::string input = ReadFile(Scenario("chain_episode2.txt"));
  auto replay = [&](int frames, const std::string& shots = "") {
    std::filesystem::remove_all(dir / "config");  // every replay starts from the default ranking
    std::ofstream(dir / "chain.txt") << input;
    RunResult r = Run("--frames " + std::to_string(frames) + " --input " + (dir / "chain.txt").string() + shots);
    EXPECT_EQ(r.code, 0) << r.errors;
    return ReadStats(dir / "stats.txt");
  };
  constexpr int kGameState = 4, kNameEntryState = 8;

  auto stats = replay(4000);
  int entry = -1;
  for (const auto& [frame, line] : stats) {
    if (line.Get("scene") == kGameState && line.Get("state") == kNameEntryState) {
      entry = frame;
      break;
    }
  }
  ASSERT_GT(entry, 0) << "the game never asked for a name";
  int potions = stats[entry].Get("potions");
  ASSERT_GE(potions, 50);
  ASSERT_LT(potions, 60);  // so that it enters the defaults at place 7
  EXPECT_EQ(stats[entry].Get("stage"), 2);

  // The name, typed once the entry runs; then the continue scene.
  input += Presses(entry + 2, {"W", "I", "T", "C", "H", "RETURN"});
  stats = replay(entry + 200);
  int continueFrom = FirstFrameWith(stats, "scene", 10, entry);
  ASSERT_GT(continueFrom, 0);

  // YES at once: the keys of the continue scene count from its 27th frame.
  input += Presses(continueFrom + 27, {"RETURN"});
  stats = replay(continueFrom + 4000);
  int secondGame = FirstFrameWith(stats, "scene", 4, continueFrom);
  ASSERT_EQ(secondGame, continueFrom + 27 + 26);
  EXPECT_EQ(stats[secondGame].Get("stage"), 2);
  EXPECT_EQ(stats[secondGame].Get("level"), stats[entry].Get("level"));
  EXPECT_EQ(stats[secondGame].Get("potions"), potions - 50);
  // Fewer than 50 potions this time: straight back to the title.
  int titleAgain = FirstFrameWith(stats, "scene", 6, secondGame);
  ASSERT_GT(titleAgain, 0);
  EXPECT_EQ(FirstFrameWith(stats, "scene", 10, secondGame), -1);

  // RANKING, look at it, back to the title and EXIT.
  int menu = titleAgain + 27;
  input += Presses(menu, {"DOWN", "DOWN", "DOWN", "RETURN"});
  int rankingFrom = menu + 6 + 26;
  input += Presses(rankingFrom + 40, {"SPACE"});
  int lastTitle = rankingFrom + 40 + 26;
  input += Presses(lastTitle + 27, {"UP", "RETURN"});
  auto shot = [&](int frame, const char* name) {
    return " --shot " + std::to_string(frame) + ":" + (dir / name).string();
  };
  stats = replay(lastTitle + 200, shot(entry + 11, "entry.png") + shot(continueFrom + 26, "continue.png") +
                                      shot(rankingFrom + 30, "ranking.png"));
  EXPECT_EQ(FirstFrameWith(stats, "scene", 8, titleAgain), rankingFrom);
  EXPECT_EQ(FirstFrameWith(stats, "scene", 6, rankingFrom), lastTitle);
  ASSERT_FALSE(stats.empty());
  EXPECT_EQ(stats.rbegin()->second.Get("scene"), 14);  // EXIT ended the run
  EXPECT_EQ(stats.rbegin()->first, lastTitle + 27 + 2 + 25);

  std::string stored = ReadFile(dir / "config/KorvaGames/Velloria/ranking.ini");
  EXPECT_NE(stored.find("Rank5=50,KORVA GAMES\n"), std::string::npos) << stored;
  EXPECT_NE(stored.find("Rank6=" + std::to_string(potions) + ",WITCH\n"), std::string::npos) << stored;
  EXPECT_NE(stored.find("Rank7=40,KORVA GAMES\n"), std::string::npos) << stored;

  std::vector<Row> table;
  for (int i = 0; i < 8; ++i) table.push_back({100 - 10 * i, "KORVA GAMES"});
  table[6] = {potions, "WITCH"};
  table[7] = {40, "KORVA GAMES"};
  EXPECT_EQ(RankingMismatches(ReadShot(dir / "ranking.png"), table), 0);

  // The name box in the middle of the black screen and the continue scene
  // with YES chosen, by the words they show.
  Surface expected(640, 480);
  expected.FillAll(0x5A);
  NAscii font;
  font.SetTarget(&expected);
  font.SetFont(0);
  font.DrawText(206 + 20, 202 + 14, "Enter Your Name  ");
  font.DrawText(206 + 20 + 6, 202 + 41, "WITCH");
  int compared = 0;
  EXPECT_EQ(CountMismatches(ReadShot(dir / "entry.png"), expected, 0x5A, &compared), 0);
  EXPECT_GT(compared, 500);

  expected.FillAll(0x5A);
  font.SetFont(1);
  font.DrawText(148, 450, "It costs 50 potions to continue.");
  NSprite256 heading(212, 1);
  heading.SetCenter(320, 53);
  heading.Draw(&expected);
  EXPECT_EQ(CountMismatches(ReadShot(dir / "continue.png"), expected, 0x5A, &compared), 0);
  EXPECT_GT(compared, 1000);
}

TEST_F(FrontEndRun, ClearingTheLastLevelLeadsThroughTheEndingBackToTheTitle) {
  // A player who cannot be hit fires all the time and presses Enter between
  // shots: that also ends a name entry and confirms the ending as soon as it
  // listens.
  std::ofstream input(dir / "fire.txt");
  input << "seed 5\n";
  constexpr int kLimit = 20000;
  for (int f = 2; f < kLimit; f += 4) {
    input << f << " +SPACE\n" << f + 1 << " -SPACE\n" << f + 2 << " +RETURN\n" << f + 3 << " -RETURN\n";
  }
  input.close();
  RunResult r = Run("--start 4-5:0 --invulnerable --frames " + std::to_string(kLimit) + " --input " +
                    (dir / "fire.txt").string());
  ASSERT_EQ(r.code, 0) << r.errors;
  auto stats = ReadStats(dir / "stats.txt");
  int ending = FirstFrameWith(stats, "scene", 12);
  ASSERT_GT(ending, 0) << "the last level was never cleared";
  EXPECT_EQ(stats[ending - 1].Get("scene"), 11);
  EXPECT_EQ(stats[ending - 1].Get("stage"), 4);
  EXPECT_EQ(stats[ending - 1].Get("level"), 5);

  std::string sounds = ReadFile(dir / "sounds.txt");
  std::string start = std::to_string(ending) + " music open Music01.mid\n";
  size_t opened = sounds.find(start);
  ASSERT_NE(opened, std::string::npos) << sounds;
  // Keys come every other frame, yet the first confirm is taken in the
  // ending's 27th frame or the one after.
  size_t confirmed = sounds.find(" play 3\n", opened);
  ASSERT_NE(confirmed, std::string::npos);
  int confirmFrame = std::atoi(sounds.c_str() + sounds.rfind('\n', confirmed) + 1);
  EXPECT_GE(confirmFrame, ending + 27);
  EXPECT_LE(confirmFrame, ending + 28);
  // The title is built 26 frames later, after the ending's tune was closed.
  std::string handOver = std::to_string(confirmFrame + 26) + " music close Music01.mid\n" +
                         std::to_string(confirmFrame + 26) + " music open Music03.mid\n";
  EXPECT_NE(sounds.find(handOver, confirmed), std::string::npos) << sounds;
  EXPECT_EQ(stats[confirmFrame + 26].Get("scene"), 6);
}
