// The ranking: how stored values read, where a result goes, and how a save
// replaces the file. (What a run does with a damaged or unwritable home is
// in error_paths_test.cpp.)
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "app/app_block.h"
#include "app/ranking.h"
#include "app/save_faults.h"
#include "tests/run_helpers.h"

namespace fs = std::filesystem;

namespace {

class Ranking : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAppBlock();
    SetRankingRoot(root.string());
  }
  void Store(const std::string& values) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "[Software\\KorvaGames\\Velloria]\n" << values;
  }
  std::string Table() const {
    std::string out;
    for (int i = 0; i < kRankEntries; ++i)
      out += std::to_string(GetRankEntry(i).score) + "," + GetRankEntry(i).name + ";";
    return out;
  }
  TestDir root{"ranking"};
  fs::path file = root / "KorvaGames" / "Velloria" / "ranking.ini";
};

}  // namespace

TEST_F(Ranking, StoredValuesReadByTheRulesAndMissingOnesKeepTheirDefaults) {
  LoadRanking();
  EXPECT_EQ(Table(),
            "100,KORVA GAMES;90,KORVA GAMES;80,KORVA GAMES;70,KORVA GAMES;60,KORVA GAMES;50,KORVA GAMES;"
            "40,KORVA GAMES;30,KORVA GAMES;");
  EXPECT_TRUE(fs::is_empty(root.path())) << "the load wrote";
  Store(
      "Rank0=42,  ANNA  \nRank1=10000,BIG\nRank2=,COMMA FIRST\nRank3=no comma\nRank4=  8x,A NAME LONGER THAN IT MAY\n"
      "Rank5=-5,MINUS\nrank6=9999,CASE\nRank7=55," +
      std::string(252, 'B') + "\n");
  LoadRanking();
  // Rank7 is 255 characters: with its terminator it does not fit 256 bytes.
  EXPECT_EQ(Table(), "42,ANNA;0,BIG;0,ERROR;0,ERROR;8,A NAME LONGER T;-5,MINUS;9999,CASE;30,KORVA GAMES;");
  int32_t score = 0;
  std::string name;
  ParseRankValue(NString("-99999999999999,X"), score, name);
  EXPECT_EQ(score, INT32_MIN);
  ParseRankValue(NString("2147483648,X"), score, name);
  EXPECT_EQ(score, 0);
}

TEST_F(Ranking, AResultGoesBelowEqualScoresAndIsSavedAtOnce) {
  LoadRanking();
  EXPECT_EQ(EnterRanking(30, NString("LAST")), -1);  // equal to the eighth: not in
  EXPECT_EQ(EnterRanking(90, NString("  EVE ")), 2);
  EXPECT_EQ(EnterRanking(1000, NString("ACE")), 0);
  EXPECT_EQ(Table(),
            "1000,ACE;100,KORVA GAMES;90,KORVA GAMES;90,EVE;80,KORVA GAMES;70,KORVA GAMES;"
            "60,KORVA GAMES;50,KORVA GAMES;");
  ResetAppBlock();
  LoadRanking();  // what the next run reads
  EXPECT_EQ(Table(),
            "1000,ACE;100,KORVA GAMES;90,KORVA GAMES;90,EVE;80,KORVA GAMES;70,KORVA GAMES;"
            "60,KORVA GAMES;50,KORVA GAMES;");
}

TEST_F(Ranking, ASaveReplacesTheWholeFileKeepingLinesItDoesNotKnow) {
  Store("; my notes\nRank0=500,ACE\nTheme=dark\n[Other]\nkeep=me\n");
  LoadRanking();
  std::ifstream reader(file);  // a reader that opened the file before the save
  EnterRanking(600, NString("NEW"));
  std::string now = ReadFile(file);
  EXPECT_NE(now.find("; my notes\nRank0=600,NEW\nTheme=dark\nRank1=500,ACE\n"), std::string::npos) << now;
  EXPECT_NE(now.find("[Other]\nkeep=me\n"), std::string::npos) << now;
  // It still reads the old file whole: the new one was renamed over it.
  std::stringstream old;
  old << reader.rdbuf();
  EXPECT_EQ(old.str(), "[Software\\KorvaGames\\Velloria]\n; my notes\nRank0=500,ACE\nTheme=dark\n[Other]\nkeep=me\n");
  for (const auto& entry : fs::directory_iterator(file.parent_path()))
    EXPECT_EQ(entry.path().filename(), "ranking.ini");
}

TEST_F(Ranking, AFailedSaveIsToldOnceAndFlaggedAndTheNextSaveTriesAgain) {
  Store("Rank0=500,ACE\n");
  ::chmod(file.c_str(), 0444);
  LoadRanking();
  ::testing::internal::CaptureStderr();
  EnterRanking(600, NString("NEW"));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "velloria: cannot save the ranking to " + file.string() + ": read-only file\n");
  EXPECT_TRUE(LastRankingSave().failed);
  EXPECT_EQ(LastRankingSave().reason, "read-only file");
  ::chmod(file.c_str(), 0644);
  EnterRanking(700, NString("NEXT"));
  EXPECT_FALSE(LastRankingSave().failed);
  EXPECT_NE(ReadFile(file).find("Rank0=700,NEXT\nRank1=600,NEW\nRank2=500,ACE\n"), std::string::npos) << ReadFile(file);
}

TEST_F(Ranking, AResultEntersTheTableAsStoredWhenItIsSaved) {
  LoadRanking();
  // Another page of the same browser saved two results after this run read the table.
  Store("Rank0=500,TAB ONE\nRank1=100,KORVA GAMES\nRank2=95,TAB TWO\nRank3=90,KORVA GAMES\n");
  EXPECT_EQ(EnterRanking(96, NString("HERE")), 2);
  EXPECT_EQ(Table(),
            "500,TAB ONE;100,KORVA GAMES;96,HERE;95,TAB TWO;90,KORVA GAMES;"
            "60,KORVA GAMES;50,KORVA GAMES;40,KORVA GAMES;");
  // A store that cannot be read now leaves the table in play as it is.
  fs::remove_all(root / "KorvaGames");
  fs::create_directories(file);  // a folder where the file should be
  EXPECT_EQ(EnterRanking(97, NString("KEPT")), 2);
  EXPECT_EQ(GetRankEntry(0).score, 500);
  EXPECT_EQ(GetRankEntry(3).score, 96);
}

// While another save holds the ranking's lock past the wait, the name
// entry's save fails, says why in one line, and the result is kept for the
// next save, which finds the lock free and saves it, once.
TEST_F(Ranking, ASaveThatCannotHaveTheLockIsToldAndMadeAtTheNextEntry) {
  constexpr std::chrono::milliseconds kShortWait{50};
  Store("Rank0=500,ACE\n");
  LoadRanking();
  const fs::path lockFile = file.string() + ".lock";
  int held = ::open(lockFile.c_str(), O_RDONLY | O_CREAT, 0600);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  SetSaveLockWait(kShortWait);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(EnterRanking(600, NString("HELD")), 0);
  ClearSaveFaults();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "velloria: cannot save the ranking to " + file.string() +
                                                          ": another save held its lock " + lockFile.string() +
                                                          " for over 50 ms\n");
  EXPECT_TRUE(LastRankingSave().failed);
  EXPECT_EQ(ReadFile(file).find("HELD"), std::string::npos);
  ::close(held);
  SaveRanking();  // as after a game whose score does not rank
  EnterRanking(550, NString("NEXT"));
  EXPECT_FALSE(LastRankingSave().failed);
  EXPECT_NE(ReadFile(file).find("Rank0=600,HELD\nRank1=550,NEXT\nRank2=500,ACE\n"), std::string::npos)
      << ReadFile(file);
  EXPECT_FALSE(fs::exists(lockFile)) << "the lock file stayed";
}
