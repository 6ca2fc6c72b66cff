#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/app_block.h"
#include "app/ranking.h"
#include "tests/run_helpers.h"

namespace fs = std::filesystem;

namespace {

class RankingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = TestDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    SetRankingRoot(root.string());
    file = root / "KorvaGames" / "Velloria" / "ranking.ini";
  }
  void TearDown() override { fs::remove_all(root); }
  void Store(const std::string& values) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "[Software\\KorvaGames\\Velloria]\n" << values;
  }
  fs::path root;
  fs::path file;
};

}  // namespace

TEST_F(RankingTest, FreshUserSeesTheDefaults) {
  LoadRanking();
  for (int i = 0; i < kRankEntries; ++i) {
    EXPECT_EQ(GetRankEntry(i).score, 100 - 10 * i);
    EXPECT_STREQ(GetRankEntry(i).name, "KORVA GAMES");
  }
  EXPECT_TRUE(fs::exists(file));  // loading creates the key
}

TEST_F(RankingTest, StoredValuesLoadByTheRules) {
  Store(
      "Rank0=42,  ANNA  \n"
      "Rank1=12345,BIG\n"
      ",NOPE\n"
      "Rank2=,COMMA FIRST\n"
      "Rank3=no comma\n"
      "Rank4=77,\n"
      "Rank5=-5,MINUS\n"
      "Rank6=99999999999999,HUGE\n"
      "Rank7=  8x,A NAME LONGER THAN FIFTEEN\n");
  LoadRanking();
  struct Want {
    int score;
    const char* name;
  } want[] = {{42, "ANNA"}, {0, "BIG"},    {0, "ERROR"}, {0, "ERROR"},
              {77, ""},     {-5, "MINUS"}, {0, "HUGE"},  {8, "A NAME LONGER T"}};
  for (int i = 0; i < kRankEntries; ++i) {
    EXPECT_EQ(GetRankEntry(i).score, want[i].score) << i;
    EXPECT_STREQ(GetRankEntry(i).name, want[i].name) << i;
  }
}

TEST_F(RankingTest, HugeNegativeNumbersClampInsteadOfOverflowing) {
  int32_t score = 0;
  std::string name;
  ParseRankValue(NString("-99999999999999,X"), score, name);
  EXPECT_EQ(score, INT32_MIN);
  ParseRankValue(NString("2147483648,X"), score, name);
  EXPECT_EQ(score, 0);  // clamped to the largest int, which is 10000 or more
}

TEST_F(RankingTest, ValuesOf256BytesOrMoreCountAsMissing) {
  Store("Rank0=55," + std::string(251, 'A') + "\nRank1=66," + std::string(252, 'B') + "\n");
  LoadRanking();
  EXPECT_EQ(GetRankEntry(0).score, 55);  // 254 characters + terminator fit
  EXPECT_EQ(GetRankEntry(1).score, 90);  // 255 + terminator do not
}

TEST_F(RankingTest, EnteringAResultPlacesItBelowEqualScoresAndSavesEveryValue) {
  LoadRanking();
  EXPECT_EQ(EnterRanking(30, NString("LAST")), -1);  // equal to the eighth: does not enter
  EXPECT_EQ(EnterRanking(90, NString("  EVE ")), 2);
  EXPECT_EQ(GetRankEntry(1).score, 90);
  EXPECT_STREQ(GetRankEntry(1).name, "KORVA GAMES");
  EXPECT_STREQ(GetRankEntry(2).name, "EVE");
  EXPECT_EQ(GetRankEntry(7).score, 40);
  std::string text = ReadFile(file);
  for (int i = 0; i < kRankEntries; ++i) EXPECT_NE(text.find("Rank" + std::to_string(i) + "="), std::string::npos);
  EXPECT_NE(text.find("Rank2=90,EVE\n"), std::string::npos) << text;
  // A new run reads back the same table.
  ResetAppBlock();
  LoadRanking();
  EXPECT_STREQ(GetRankEntry(2).name, "EVE");
  EXPECT_EQ(GetRankEntry(7).score, 40);
}

TEST_F(RankingTest, LinesTheProgramDoesNotKnowAreKept) {
  Store("; my notes\nRank0=500,ACE\nTheme=dark\n[Other]\nkeep=me\n");
  LoadRanking();
  EXPECT_EQ(EnterRanking(600, NString("NEW")), 0);
  std::string text = ReadFile(file);
  EXPECT_NE(text.find("; my notes\n"), std::string::npos);
  EXPECT_NE(text.find("Theme=dark\n"), std::string::npos);
  EXPECT_NE(text.find("[Other]\nkeep=me\n"), std::string::npos);
  EXPECT_NE(text.find("Rank0=600,NEW\n"), std::string::npos);
  EXPECT_NE(text.find("Rank1=500,ACE\n"), std::string::npos);
}

TEST_F(RankingTest, AFailedSaveLeavesTheOldRankingIntact) {
  Store("Rank0=500,ACE\n");
  LoadRanking();
  std::string before = ReadFile(file);
  // A folder where the temporary file should go: it cannot be written, even
  // by a user whom permissions do not stop.
  fs::create_directory(file.string() + ".tmp-" + std::to_string(::getpid()));
  EXPECT_EQ(EnterRanking(900, NString("NEW")), 0);  // the game goes on
  EXPECT_EQ(GetRankEntry(0).score, 900);
  EXPECT_EQ(ReadFile(file), before);
}

TEST_F(RankingTest, AnUnwritableHomeLeavesTheDefaultsInPlay) {
  // A plain file where the settings folder should be: nothing can be made.
  std::ofstream(root / "KorvaGames") << "in the way";
  LoadRanking();
  EXPECT_FALSE(fs::exists(file));
  EXPECT_EQ(GetRankEntry(0).score, 100);
  EXPECT_EQ(EnterRanking(200, NString("X")), 0);  // kept in memory, not stored
  EXPECT_EQ(GetRankEntry(0).score, 200);
  SetRankingRoot("");
  LoadRanking();  // no root at all: defaults
  EXPECT_EQ(GetRankEntry(0).score, 100);
}
