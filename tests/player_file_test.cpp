// The player's files are never damaged: links, modes, things that are not
// regular files, read-only files and folders (for root too), failed writes
// and saves killed at any moment.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <random>
#include <set>

#include "app/player_file.h"
#include "tests/run_helpers.h"

namespace fs = std::filesystem;

namespace {

using Status = FileOutcome::Status;

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

TEST(PlayerFile, ASaveGoesThroughLinksToTheirFileKeepingItsModeAndOwner) {
  TestDir dir("links");
  fs::create_directories(dir / "dotfiles");
  Put(dir / "dotfiles" / "ranking.ini", "old", 0600);
  bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown((dir / "dotfiles" / "ranking.ini").c_str(), 1234, 5678), 0);
  }
  fs::create_symlink("dotfiles/ranking.ini", dir / "link");  // relative, from its own folder
  fs::create_symlink(dir / "link", dir / "chain");
  ASSERT_TRUE(SavePlayerFile((dir / "chain").string(), "new").Done());
  EXPECT_TRUE(fs::is_symlink(dir / "chain") && fs::is_symlink(dir / "link"));
  EXPECT_EQ(ReadFile(dir / "dotfiles" / "ranking.ini"), "new");
  EXPECT_EQ(ModeOf(dir / "dotfiles" / "ranking.ini"), 0600u);
  struct stat st {};
  ::stat((dir / "dotfiles" / "ranking.ini").c_str(), &st);
  if (root) {
    EXPECT_TRUE(st.st_uid == 1234u && st.st_gid == 5678u) << st.st_uid << ":" << st.st_gid;
  }
  // A link to a file still to be made makes it; a new file, its folder too,
  // gets 0666 under the umask.
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

TEST(PlayerFile, WhatCannotBeSavedStaysByteForByteWithNoTemporaryFileBeside) {
  TestDir dir("refused");
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
  fs::create_directories(dir / "folder");
  for (const char* name : {"fifo", "folder"}) {
    std::string text;
    // A plain open of a FIFO would wait for a writer that never comes.
    EXPECT_EQ(ReadPlayerFile((dir / name).string(), text).status, Status::NotRegular) << name;
    EXPECT_EQ(SavePlayerFile((dir / name).string(), "x").status, Status::NotRegular) << name;
  }
  EXPECT_TRUE(fs::is_fifo(dir / "fifo") && fs::is_empty(dir / "folder"));
  // Without write permission a file or folder is read-only, for root too.
  Put(dir / "read-only.ini", "old", 0444);
  fs::create_directories(dir / "read-only");
  Put(dir / "read-only" / "ranking.ini", "old");
  ::chmod((dir / "read-only").c_str(), 0555);
  EXPECT_EQ(SavePlayerFile((dir / "read-only.ini").string(), "new").reason, "read-only file");
  EXPECT_EQ(SavePlayerFile((dir / "read-only" / "ranking.ini").string(), "new").reason, "read-only folder");
  EXPECT_EQ(ReadFile(dir / "read-only.ini"), "old");
  EXPECT_EQ(ReadFile(dir / "read-only" / "ranking.ini"), "old");
  // A write that fails half-way, as on a full disk.
  Put(dir / "full.ini", "old", 0640);
  struct rlimit limit {};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  struct rlimit tight = limit;
  tight.rlim_cur = 2;
  auto xfsz = ::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &tight);
  FileOutcome full = SavePlayerFile((dir / "full.ini").string(), "longer than two bytes");
  ::setrlimit(RLIMIT_FSIZE, &limit);
  ::signal(SIGXFSZ, xfsz);
  EXPECT_EQ(full.reason, "file too large");
  EXPECT_EQ(ReadFile(dir / "full.ini"), "old");
  EXPECT_EQ(ModeOf(dir / "full.ini"), 0640u);
  EXPECT_EQ(Listing(dir).find(".tmp-"), std::string::npos) << Listing(dir);
}

TEST(PlayerFile, ANewFileNeverReplacesOneThatIsThereNotEvenALinkToNothing) {
  TestDir dir("new");
  Put(dir / "shot-1.png", "mine");
  fs::create_symlink("nowhere.png", dir / "shot-2.png");
  auto name = [](int n) { return "shot-" + std::to_string(n) + ".png"; };
  std::string saved;
  ASSERT_TRUE(SaveNewPlayerFile(dir.string(), name, 1, 3, "picture", saved).Done());
  EXPECT_EQ(saved, (dir / "shot-3.png").string());
  EXPECT_EQ(ReadFile(dir / "shot-3.png"), "picture");
  EXPECT_EQ(ReadFile(dir / "shot-1.png"), "mine");
  EXPECT_FALSE(fs::exists(dir / "nowhere.png"));
  EXPECT_EQ(SaveNewPlayerFile(dir.string(), name, 1, 3, "more", saved).status, Status::Failed);
  EXPECT_EQ(Listing(dir).find(".tmp-"), std::string::npos) << Listing(dir);
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
