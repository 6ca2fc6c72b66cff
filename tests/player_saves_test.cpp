// The player's files saved through the program: two copies saving one file
// at once keep both changes, and a save kept waiting says so and goes with
// the next; a hard-linked ranking and one with extended attributes keep
// their links and attributes; two copies keeping runs into one folder keep
// them all.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <sys/xattr.h>

#include <cstring>
#include <set>

#include "app/replay_shelf.h"
#include "app/save_faults.h"
#include "shell/settings_file.h"
#include "tests/run_helpers.h"

namespace fs = std::filesystem;

namespace {

// Lines of the player's own, enough of them (5 MB) that a save takes a
// while: without one save at a time, the other copy's lands between this
// one's read and its rename.
std::string OtherLines(const std::string& key) {
  std::string lines;
  for (int i = 0; lines.size() < 5'000'000; ++i) lines += key + std::to_string(i) + "=" + std::string(60, 'x') + "\n";
  return lines;
}

// A headless run that shoots the witch down (500 potions, no steering; her
// score ranks) and types letter at the name entry, into ranking.
std::string NameEntry(const fs::path& dir, char letter, const fs::path& ranking) {
  fs::path input = dir / (std::string("typer-") + letter);
  std::ofstream out(input);
  out << "seed 3\n";
  for (int f = 10; f < 900; f += 20)
    out << f << " +" << letter << "\n"
        << f + 1 << " -" << letter << "\n"
        << f + 10 << " +RETURN\n"
        << f + 11 << " -RETURN\n";
  return std::string(VELLORIA_EXE) + " --headless --start 1-1:500 --frames 900 --input '" + input.string() +
         "' --ranking '" + ranking.string() + "' 2>>'" + (dir / "errors").string() + "'";
}

// An extended attribute's value; empty when there is none.
std::string Attribute(const std::string& path, const char* name) {
  std::string value(::getxattr(path.c_str(), name, nullptr, 0) + 1, '\0');
  ssize_t length = ::getxattr(path.c_str(), name, value.data(), value.size());
  return value.substr(0, static_cast<size_t>(std::max<ssize_t>(length, 0)));
}

}  // namespace

TEST(PlayerSaves, TwoNameEntriesAtOnceIntoOneRankingKeepBoth) {
  constexpr int kRounds = 5;
  TestDir dir("race-ranking");
  const fs::path ranking = dir / "ranking.ini";
  const std::string other = "[Notes]\n" + OtherLines("note");
  // Both runs start together and reach the name entry at the same frame.
  const std::string both = "XDG_CONFIG_HOME='" + (dir / "config").string() + "'; export XDG_CONFIG_HOME; " +
                           NameEntry(dir, 'V', ranking) + " & v=$!; " + NameEntry(dir, 'W', ranking) +
                           " & w=$!; wait $v || exit 1; wait $w";
  for (int round = 0; round < kRounds; ++round) {
    std::ofstream(ranking, std::ios::binary) << other;
    ASSERT_EQ(std::system(both.c_str()), 0) << ReadFile(dir / "errors");
    std::string now = ReadFile(ranking);
    EXPECT_EQ(now.rfind(other, 0), 0u) << "round " << round << ": the player's lines are not kept";
    std::string table = now.substr(std::min(other.size(), now.size()));
    EXPECT_NE(table.find("=500,V\n"), std::string::npos) << "round " << round << ":\n" << table;
    EXPECT_NE(table.find("=500,W\n"), std::string::npos) << "round " << round << ":\n" << table;
  }
  EXPECT_EQ(ReadFile(dir / "errors"), "");
  EXPECT_FALSE(fs::exists(dir / "config"));  // headless runs keep nothing else
  for (const auto& entry : fs::directory_iterator(dir)) {
    EXPECT_EQ(entry.path().filename().string().find("ranking.ini."), std::string::npos) << "left: " << entry.path();
  }
}

// Two copies change a setting each, over and over: after each of its saves
// a copy finds its own change in the file (the other never touches it), and
// the last of both is there at the end.
TEST(PlayerSaves, TwoCopiesSavingSettingsInTurnKeepEveryChange) {
  constexpr int kRounds = 8;
  TestDir dir("race-settings");
  const std::string path = (dir / "settings.ini").string();
  std::ofstream(path) << OtherLines("note-");
  pid_t copies[2];
  for (int copy = 0; copy < 2; ++copy) {
    copies[copy] = ::fork();
    ASSERT_GE(copies[copy], 0);
    if (copies[copy] != 0) continue;
    SettingsFile file(path);
    Settings mine = file.Load();
    int lost = 0;
    for (int round = 1; round <= kRounds; ++round) {
      (copy == 0 ? mine.musicVolume : mine.soundVolume) = round;
      if (!file.Save(mine)) ::_exit(2);
      std::vector<std::string> complaints;
      Settings stored = ParseSettings(ReadFile(path), complaints);
      lost += (copy == 0 ? stored.musicVolume : stored.soundVolume) == round ? 0 : 1;
    }
    ::_exit(lost == 0 ? 0 : 1);
  }
  for (pid_t copy : copies) {
    int status = -1;
    ::waitpid(copy, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a copy lost a change (1) or a save (2): " << status;
  }
  std::vector<std::string> complaints;
  Settings last = ParseSettings(ReadFile(path), complaints);
  EXPECT_EQ(std::tie(last.musicVolume, last.soundVolume), std::make_tuple(kRounds, kRounds));
  EXPECT_NE(ReadFile(path).find("\nnote-60000="), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << "left beside it";
}

// A ranking with a second name (a hard link) and one with a user attribute
// and an ACL: after the name entry both names show the new table and the
// attribute and the ACL are still there.
TEST(PlayerSaves, AHardLinkedRankingAndOneWithAttributesKeepThemThroughANameEntry) {
  TestDir dir("links");
  const std::string old = "[Software\\KorvaGames\\Velloria]\nRank0=10,OLD\n";
  std::ofstream(dir / "ranking.ini") << old;
  fs::create_hard_link(dir / "ranking.ini", dir / "second-name.ini");
  const std::string tagged = (dir / "tagged.ini").string();
  std::ofstream(tagged) << old;
  const std::string tag = "kept";
  bool attributes = ::setxattr(tagged.c_str(), "user.velloria", tag.data(), tag.size(), 0) == 0;
  int why = errno;
  if (!attributes) {
    ASSERT_EQ(why, ENOTSUP) << "setting a user attribute failed otherwise";
  }
  // Read for user 4321, in the kernel's form: a version, then a tag, the
  // permissions and an id for each entry (owner, user 4321, group, mask,
  // others).
  const uint32_t acl[] = {2, 0x60001, ~0u, 0x40002, 4321, 0x40004, ~0u, 0x40010, ~0u, 0x40020, ~0u};
  const std::string aclBytes(reinterpret_cast<const char*>(acl), sizeof(acl));
  bool acls = ::setxattr(tagged.c_str(), "system.posix_acl_access", aclBytes.data(), aclBytes.size(), 0) == 0;
  if (!acls)
    std::printf("note: no ACLs on the test folder's file system (%s); that case is left out\n", std::strerror(errno));
  for (const char* ranking : {"ranking.ini", "tagged.ini"}) {
    if (!attributes && std::string(ranking) == "tagged.ini") continue;
    ASSERT_EQ(std::system(NameEntry(dir, 'V', dir / ranking).c_str()), 0) << ReadFile(dir / "errors");
  }
  EXPECT_EQ(ReadFile(dir / "errors"), "");
  const std::string now = ReadFile(dir / "ranking.ini");
  EXPECT_NE(now.find("Rank0=500,V\n"), std::string::npos) << now;
  EXPECT_EQ(ReadFile(dir / "second-name.ini"), now);
  EXPECT_EQ(fs::hard_link_count(dir / "ranking.ini"), 2u);
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name.ends_with(".ini") || name.starts_with("typer-") || name == "errors") << "left: " << name;
  }
  if (!attributes) GTEST_SKIP() << "the test folder's file system keeps no user attributes";
  EXPECT_NE(ReadFile(tagged).find("Rank0=500,V\n"), std::string::npos);
  EXPECT_EQ(Attribute(tagged, "user.velloria"), tag);
  if (acls) {
    EXPECT_EQ(Attribute(tagged, "system.posix_acl_access"), aclBytes);
  }
}

// A settings change whose save cannot have the lock is told in one line and
// goes with the next change.
TEST(PlayerSaves, ASettingsChangeThatCannotHaveTheLockGoesWithTheNext) {
  TestDir dir("settings-lock");
  const std::string path = (dir / "settings.ini").string();
  SettingsFile file(path);
  Settings mine = file.Load();
  int held = ::open((path + ".lock").c_str(), O_RDONLY | O_CREAT, 0600);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  SetSaveLockWait(std::chrono::milliseconds(20));
  mine.musicVolume = 30;
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(file.Save(mine));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "velloria: cannot save the settings to " + path +
                                                          ": another save held its lock " + path +
                                                          ".lock for over 20 ms\n");
  ClearSaveFaults();
  ::close(held);
  mine.soundVolume = 40;
  EXPECT_TRUE(file.Save(mine));
  std::vector<std::string> complaints;
  Settings stored = ParseSettings(ReadFile(path), complaints);
  EXPECT_EQ(std::tie(stored.musicVolume, stored.soundVolume), std::make_tuple(30, 40));
}

// Two headless soaks keep their runs into one folder at once, their runs
// ending at the same frames: every run of both is in the index, and every
// file the index names is there. A run file the index does not name (a keep
// cut short) goes with the bound; a file of the player's stays.
TEST(PlayerSaves, TwoCopiesKeepingRunsIntoOneFolderAtOnceLoseNone) {
  constexpr int kRounds = 10;
  constexpr size_t kRunsOfBoth = 6;  // this soak plays three runs
  TestDir dir("race-kept");
  const fs::path kept = dir / "kept";
  const std::string soak = "XDG_DATA_HOME='" + (dir / "data").string() + "' " + VELLORIA_EXE +
                           " --headless --no-picture --soak 7 --frames 6000 --keep-runs '" + kept.string() + "' 2>>'" +
                           (dir / "errors").string() + "'";
  const std::string both = soak + " & a=$!; " + soak + " & b=$!; wait $a || exit 1; wait $b";
  for (int round = 0; round < kRounds; ++round) {
    fs::remove_all(kept);
    fs::create_directories(kept);
    std::ofstream(kept / "run-20000101-000000-1.txt") << "left by a keep cut short\n";
    std::ofstream(kept / "notes.txt") << "the player's\n";
    ASSERT_EQ(std::system(both.c_str()), 0) << ReadFile(dir / "errors");
    std::vector<ShelfEntry> index = ParseShelfIndex(ReadFile(kept / "index.txt"));
    EXPECT_EQ(index.size(), kRunsOfBoth) << "round " << round << ": a run kept at once went missing";
    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(kept)) files.insert(entry.path().filename().string());
    for (const ShelfEntry& e : index) EXPECT_EQ(files.erase(e.file), 1u) << e.file << " is not there";
    EXPECT_EQ(files, (std::set<std::string>{"index.txt", "notes.txt"})) << "round " << round;
    EXPECT_EQ(ReadFile(kept / "notes.txt"), "the player's\n");
  }
  EXPECT_EQ(ReadFile(dir / "errors"), "");
}

// A live run with no data folder to keep it in says so once on standard
// error, at the latest as the session ends (the notice is the shell's).
TEST(PlayerSaves, ALiveRunWithoutADataFolderSaysItWasNotKept) {
  TestDir dir("kept-nowhere");
  fs::create_directories(dir / "run");
  const std::string live =
      "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR='" + (dir / "run").string() + "'";
  RunResult r = RunGame("--start 4-5 --frames 30", (dir / "config").string(), live,
                        std::string("env -u HOME -u XDG_DATA_HOME ") + VELLORIA_EXE);
  EXPECT_EQ(r.code, 0) << r.errors;
  const std::string said = "velloria: cannot keep the run in (none): neither XDG_DATA_HOME nor HOME is set\n";
  size_t at = r.errors.find(said);
  EXPECT_NE(at, std::string::npos) << r.errors;
  EXPECT_EQ(r.errors.find(said, at + 1), std::string::npos) << "said more than once";
}
