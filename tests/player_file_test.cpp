// The player's files are never damaged: owners, new files, and saves
// killed at any moment.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <random>
#include <set>

#include "app/player_file.h"
#include "tests/run_helpers.h"

namespace fs = std::filesystem;

namespace {

mode_t ModeOf(const fs::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
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
