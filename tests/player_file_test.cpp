// The player's files are never damaged: owners, new files, and saves
// killed at any moment.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <climits>
#include <optional>
#include <random>
#include <set>

#include "app/player_file.h"
#include "app/save_faults.h"
#include "tests/run_helpers.h"

namespace fs = std::filesystem;

namespace {

mode_t ModeOf(const fs::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

ino_t InodeOf(const fs::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

void Put(const fs::path& path, const std::string& text, mode_t mode = 0644) {
  std::ofstream(path, std::ios::binary) << text;
  ::chmod(path.c_str(), mode);
}

// Every name in folder and below, sorted, for what a save may have left.
std::string Listing(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) names.insert(entry.path().filename().string());
  std::string all;
  for (const std::string& name : names) all += name + " ";
  return all;
}

}  // namespace

// (Links, modes, read-only files and folders and what is no regular file, as
// the game meets them, are in error_paths_test.cpp.) The owner stays, and a
// link to a file still to be made makes it; a new file, its folder too,
// gets 0666 under the umask.
TEST(PlayerFile, ASaveKeepsTheOwnerAndANewFileTakesTheUmaskThroughALinkToo) {
  TestDir dir("owner");
  Put(dir / "ranking.ini", "old", 0640);
  bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown((dir / "ranking.ini").c_str(), 1234, 5678), 0);
  }
  ASSERT_TRUE(SavePlayerFile((dir / "ranking.ini").string(), "new").Done());
  struct stat st {};
  ::stat((dir / "ranking.ini").c_str(), &st);
  if (root) {
    EXPECT_TRUE(st.st_uid == 1234u && st.st_gid == 5678u) << st.st_uid << ":" << st.st_gid;
  }
  fs::create_symlink("later.ini", dir / "dangling");
  mode_t umask = ::umask(027);
  FileOutcome dangling = SavePlayerFile((dir / "dangling").string(), "made");
  FileOutcome fresh = SavePlayerFile((dir / "new" / "folder" / "fresh.ini").string(), "fresh");
  ::umask(umask);
  ASSERT_TRUE(dangling.Done() && fresh.Done());
  EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
  EXPECT_EQ(ReadFile(dir / "later.ini"), "made");
  EXPECT_EQ(ModeOf(dir / "later.ini"), 0640u);
  EXPECT_EQ(ReadFile(dir / "new" / "folder" / "fresh.ini"), "fresh");
  EXPECT_EQ(ModeOf(dir / "new" / "folder" / "fresh.ini"), 0640u);
}

// Saves over and over in a child that is killed at random moments: the file
// is always the old text or the new one, whole, with its mode; the
// temporary files of the killed saves are removed by the next save.
TEST(PlayerFile, ASaveKilledAtAnyMomentLeavesTheOldFileOrTheNewWhole) {
  constexpr int kKills = 120;
  constexpr int kLongestWaitUs = 8000;
  TestDir dir("kill");
  const std::string file = (dir / "ranking.ini").string();
  const std::string texts[] = {std::string(5000, 'a') + "\n", std::string(20000, 'b') + "\n"};
  Put(file, texts[1], 0604);
  std::mt19937 moments(22);
  int saved = 0;
  int midSave = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    const std::string& mine = texts[kill % 2];  // the file holds the other one
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) SavePlayerFile(file, mine);
    }
    ::usleep(moments() % kLongestWaitUs);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    std::string now = ReadFile(file);
    ASSERT_TRUE(now == texts[0] || now == texts[1]) << "after kill " << kill << ": " << now.size() << " bytes";
    ASSERT_EQ(ModeOf(file), 0604u);
    saved += now == mine ? 1 : 0;
    midSave += fs::exists(file + ".tmp-" + std::to_string(child)) ? 1 : 0;
    if (now != mine) Put(file, mine, 0604);  // the next child's text differs from it
  }
  EXPECT_GT(saved, 0);    // the saves ran between the kills
  EXPECT_GT(midSave, 0);  // and were cut off in the middle
  // A temporary file of a save still running (pid 1 always runs) stays.
  Put(dir / "ranking.ini.tmp-1", "another run's");
  ASSERT_TRUE(SavePlayerFile(file, "last").Done());
  EXPECT_EQ(Listing(dir), "ranking.ini ranking.ini.tmp-1 ") << Listing(dir);
}

// Every step of a save that can fail, made to fail, in a file with one name
// and in one with two (written in place): the old file stays whole and
// nothing is left beside it. A folder sync that fails, or attributes that
// cannot be carried (then it is written in place), lose nothing: it saves.
TEST(PlayerFile, EveryStepThatFailsLeavesTheOldFileWholeAndNothingBehind) {
  TestDir dir("faults");
  const fs::path file = dir / "ranking.ini";
  struct Case {
    SaveStep step;
    bool linked;
    bool saves;
  } cases[] = {
      {SaveStep::Lock, false, false},      {SaveStep::Open, false, false},   {SaveStep::Write, false, false},
      {SaveStep::Sync, false, false},      {SaveStep::Rename, false, false}, {SaveStep::FolderSync, false, true},
      {SaveStep::Attributes, false, true}, {SaveStep::Lock, true, false},    {SaveStep::Open, true, false},
      {SaveStep::Write, true, false},      {SaveStep::Sync, true, false},    {SaveStep::FolderSync, true, true}};
  for (const Case& c : cases) {
    const std::string label = std::to_string(static_cast<int>(c.step)) + (c.linked ? " linked" : "");
    Put(file, "old\n", 0640);
    if (c.linked) fs::create_hard_link(file, dir / "second");
    const ino_t before = InodeOf(file);
    InjectSaveFault(c.step, EIO);
    FileOutcome outcome =
        UpdatePlayerFile(file.string(), [](std::string_view now, bool) { return std::string(now) + "new\n"; });
    ClearSaveFaults();
    EXPECT_EQ(outcome.Done(), c.saves) << label;
    if (!c.saves) {
      EXPECT_NE(outcome.reason.find("input/output error"), std::string::npos) << label << ": " << outcome.reason;
    }
    EXPECT_EQ(ReadFile(file), c.saves ? "old\nnew\n" : "old\n") << label;
    EXPECT_EQ(ModeOf(file), 0640u) << label;
    EXPECT_EQ(Listing(dir), c.linked ? "ranking.ini second " : "ranking.ini ") << label;
    if (c.linked) {
      EXPECT_EQ(ReadFile(dir / "second"), ReadFile(file)) << label;
      fs::remove(dir / "second");
    }
    if (c.linked || c.step == SaveStep::Attributes) {
      EXPECT_EQ(InodeOf(file), before) << label << ": not written in place";
    }
  }
  // A save to a new file in new folders takes them away again when it fails.
  for (SaveStep step : {SaveStep::Folder, SaveStep::Lock, SaveStep::Open, SaveStep::Write, SaveStep::Rename}) {
    InjectSaveFault(step, ENOSPC);
    FileOutcome outcome = SavePlayerFile((dir / "new" / "deeper" / "r.ini").string(), "new");
    ClearSaveFaults();
    EXPECT_NE(outcome.reason.find("no space left on device"), std::string::npos) << outcome.reason;
    EXPECT_EQ(Listing(dir), "ranking.ini ") << static_cast<int>(step);
  }
  fs::create_directories(dir / "read-only");
  ::chmod((dir / "read-only").c_str(), 0555);
  FileOutcome refused = SavePlayerFile((dir / "read-only" / "new" / "r.ini").string(), "new");
  EXPECT_EQ(refused.reason, "cannot make its folder: permission denied");
  EXPECT_EQ(Listing(dir), "ranking.ini read-only ");
}

// A write in place cut short (here by a file size limit, as on a full disk)
// puts the old contents back, for both names.
TEST(PlayerFile, AWriteInPlaceCutShortPutsTheOldContentsBack) {
  constexpr rlim_t kLimit = 4096;
  TestDir dir("in-place");
  const fs::path file = dir / "ranking.ini";
  const std::string old(1000, 'o');
  Put(file, old);
  fs::create_hard_link(file, dir / "second");
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {kLimit, kLimit};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    FileOutcome outcome = SavePlayerFile(file.string(), std::string(3 * kLimit, 'n'));
    ::_exit(outcome.reason == "file too large" ? 0 : 1);
  }
  int status = -1;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the save did not fail as the limit wants";
  EXPECT_EQ(ReadFile(file), old);
  EXPECT_EQ(ReadFile(dir / "second"), old);
  EXPECT_EQ(Listing(dir), "ranking.ini second ");
}

// A 255-byte name saves and merges (its temporary and lock files get short
// names of their own), and what a killed save of it left is cleaned by the
// next save.
TEST(PlayerFile, ALongestNameSavesAndItsLeftoversAreCleaned) {
  TestDir dir("long-name");
  const fs::path file = dir / std::string(NAME_MAX, 'n');
  ASSERT_TRUE(SavePlayerFile(file.string(), "one\n").Done());
  FileOutcome merged = UpdatePlayerFile(file.string(), [](std::string_view now, bool exists) {
    return exists ? std::optional<std::string>(std::string(now) + "two\n") : std::nullopt;
  });
  ASSERT_TRUE(merged.Done()) << merged.reason;
  EXPECT_EQ(ReadFile(file), "one\ntwo\n");
  EXPECT_EQ(Listing(dir), file.filename().string() + " ");
  // A child saving a large text over and over, killed once a temporary file
  // of it is seen.
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const std::string large(8 << 20, 'x');
    for (;;) SavePlayerFile(file.string(), large);
  }
  constexpr int kLooks = 200000;  // each save writes for a good while
  std::string left;
  for (int look = 0; look < kLooks && left.empty(); ++look) {
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.path().filename().string().find(".tmp-") != std::string::npos) left = entry.path().filename();
    }
  }
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ASSERT_FALSE(left.empty()) << "no temporary file was ever seen";
  EXPECT_LE(left.size(), static_cast<size_t>(NAME_MAX));
  ASSERT_TRUE(SavePlayerFile(file.string(), "last").Done());
  EXPECT_EQ(Listing(dir), file.filename().string() + " ");
  EXPECT_EQ(ReadFile(file), "last");
}
