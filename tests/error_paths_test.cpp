// What a player meets when the machine is not as expected: no display, no
// sound, no soundfont, missing tunes, a second copy, a home that cannot be
// written, a full disk, a broken ranking file and a pad pulled out. Live
// runs use SDL's dummy drivers and end by themselves after a few frames.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "app/instance_lock.h"
#include "app/scene.h"
#include "app/stats_log.h"
#include "base/printable.h"
#include "game/game.h"
#include "tests/run_helpers.h"

namespace fs = std::filesystem;

namespace {

// A live run's environment with a lock folder of its own, so that tests
// running side by side never meet each other's lock.
std::string LiveEnv(const fs::path& dir) {
  fs::create_directories(dir / "run");
  return "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR='" + (dir / "run").string() + "' ";
}

fs::path RankingFile(const fs::path& home) { return home / "KorvaGames" / "Velloria" / "ranking.ini"; }

// With 500 potions and no steering the witch is shot down in the first
// level and her score ranks (the name entry opens at frame 800); V and Enter
// typed over and over finish it. Headless runs keep no ranking unless one is
// named (ranking, when not empty).
std::string NameEntryRun(const fs::path& dir, const std::string& ranking, const std::string& stats = "stats.txt") {
  std::ofstream out(dir / "typer.txt");
  out << "seed 3\n";
  for (int f = 10; f < 900; f += 20)
    out << f << " +V\n" << f + 1 << " -V\n" << f + 10 << " +RETURN\n" << f + 11 << " -RETURN\n";
  return "--headless --start 1-1:500 --frames 900 --input " + (dir / "typer.txt").string() + " --stats " +
         (dir / stats).string() + (ranking.empty() ? "" : " --ranking '" + ranking + "'");
}

bool Reached(const fs::path& stats, const char* key, const std::string& value) {
  for (const StatsLine& line : ReadStats(stats)) {
    if (line.count(key) && line.at(key) == value) return true;
  }
  return false;
}

void WriteRanking(const fs::path& home, const std::string& text) {
  fs::create_directories(RankingFile(home).parent_path());
  std::ofstream(RankingFile(home), std::ios::binary) << text;
}

}  // namespace

TEST(ErrorPaths, WithoutADisplayTheWindowMessageIsShownAndTheProgramEndsWithCodeZero) {
  auto dir = TestDir("nodisplay");
  for (const char* env : {"SDL_VIDEODRIVER=nonexistent", "DISPLAY= WAYLAND_DISPLAY= SDL_VIDEODRIVER=x11"}) {
    fs::remove(dir / "stats.txt");
    RunResult r = RunGame("--frames 1000 --stats " + (dir / "stats.txt").string(), dir / "config", LiveEnv(dir) + env);
    EXPECT_EQ(r.code, 0) << env;
    EXPECT_NE(r.errors.find("Velloria Message: Failed to create application window.\n"), std::string::npos) << env;
    EXPECT_TRUE(ReadStats(dir / "stats.txt").empty()) << env << ": the loop ran a frame";
  }
}

TEST(ErrorPaths, WithoutSoundDeviceSoundfontOrTunesTheGameRunsTheSameInSilence) {
  auto dir = TestDir("nosound");
  fs::create_directories(dir / "bare");
  fs::copy_file(VELLORIA_EXE, dir / "bare" / "velloria");  // no tunes beside it
  struct Case {
    const char* env;
    std::string exe;
  } cases[] = {{"SDL_AUDIODRIVER=nonexistent", VELLORIA_EXE},
               {"SDL_SOUNDFONTS=/nonexistent/none.sf2", VELLORIA_EXE},
               {"", (dir / "bare" / "velloria").string()}};
  for (const Case& c : cases) {
    RunResult r = RunGame("--start 1-1 --frames 30 --stats " + (dir / "stats.txt").string() + " --sound-log " +
                              (dir / "sound.txt").string(),
                          dir / "config", LiveEnv(dir) + c.env, c.exe);
    EXPECT_EQ(r.code, 0) << c.env;
    EXPECT_EQ(r.errors.find("Velloria Message"), std::string::npos) << c.env << ": " << r.errors;
    auto lines = ReadStats(dir / "stats.txt");
    ASSERT_EQ(lines.size(), 30u) << c.env;
    EXPECT_EQ(lines.back().at("scene"), StatsLog::Value(scene_state::kGameRunning)) << c.env;
    EXPECT_NE(ReadFile(dir / "sound.txt").find("music open Music01.mid"), std::string::npos) << c.env;
  }
}

TEST(ErrorPaths, ASecondCopyEndsAtOnceWhileTheFirstHoldsTheLockAndHeadlessRunsTakeNone) {
  auto dir = TestDir("second");
  std::string env = LiveEnv(dir);
  ::setenv("XDG_RUNTIME_DIR", (dir / "run").c_str(), 1);
  {
    InstanceLock first;  // the lock a running copy holds
    ASSERT_TRUE(first.Acquire());
    RunResult r = RunGame("--frames 25 --stats " + (dir / "second.txt").string(), dir / "config", env);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.errors, "Velloria is already running.\n");
    EXPECT_FALSE(fs::exists(dir / "second.txt")) << "the second copy started up";
    RunGame("--headless --frames 5 --stats " + (dir / "headless.txt").string(), dir / "config", env);
    EXPECT_EQ(ReadStats(dir / "headless.txt").size(), 5u);
  }
  // A running copy holds the lock until it ends.
  fs::path stats = dir / "stats.txt";
  std::string command = env + " XDG_CONFIG_HOME='" + (dir / "config").string() + "' " + VELLORIA_EXE +
                        " --frames 50 --stats " + stats.string() + " 2>/dev/null";
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  for (int i = 0; i < 1000 && ReadStats(stats).empty(); ++i) ::usleep(10000);
  ASSERT_FALSE(ReadStats(stats).empty()) << "the first copy never ran a frame";
  {
    InstanceLock second;
    EXPECT_FALSE(second.Acquire()) << "a running copy does not hold the lock";
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  InstanceLock after;
  EXPECT_TRUE(after.Acquire()) << "the lock outlived the copy that held it";
  ::unsetenv("XDG_RUNTIME_DIR");
}

TEST(ErrorPaths, AHomeThatCannotBeWrittenLeavesTheDefaultsAndAFullDiskTheOldRankingEachSaidInOneLine) {
  auto dir = TestDir("readonly");
  fs::path home = dir / "not-a-folder";  // root may write anywhere, so a file stands in the way
  std::ofstream(home) << "just a file\n";
  RunResult r = RunGame(NameEntryRun(dir, RankingFile(home).string()), home.string());
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.errors, "velloria: cannot save the ranking to " + RankingFile(home).string() +
                          ": cannot make its folder: not a directory\n");
  EXPECT_TRUE(Reached(dir / "stats.txt", "state", StatsLog::Value(game_state::kNameEntry)))
      << "the run never reached the name entry";
  EXPECT_TRUE(Reached(dir / "stats.txt", "state", StatsLog::Value(game_state::kHandOver)))
      << "the game did not go on after the failed save";
  EXPECT_EQ(ReadFile(home), "just a file\n");

  // No file may grow past a block, as on a full disk: the message fits, the
  // ranking with a long line of the player's does not. The signal a
  // too-large write raises is ignored, so the write reports the error.
  const std::string before = "[Software\\KorvaGames\\Velloria]\nRank0=10,OLD\n; " + std::string(3000, 'n') + "\n";
  WriteRanking(dir / "full", before);
  r = RunGame(NameEntryRun(dir, RankingFile(dir / "full").string()), (dir / "full").string(),
              "trap '' XFSZ; ulimit -f 1;");
  EXPECT_EQ(r.code, 1) << "the stats stopped short";
  EXPECT_EQ(r.errors, "velloria: cannot write " + (dir / "stats.txt").string() +
                          ": file too large; no statistics are logged\nvelloria: cannot save the ranking to " +
                          RankingFile(dir / "full").string() + ": file too large\n");
  EXPECT_EQ(ReadFile(RankingFile(dir / "full")), before);
  for (const auto& entry : fs::directory_iterator(RankingFile(dir / "full").parent_path())) {
    EXPECT_EQ(entry.path().filename(), "ranking.ini") << "left behind";
  }
  WriteRanking(dir / "room", before);  // the same run with room does save
  RunGame(NameEntryRun(dir, RankingFile(dir / "room").string()), (dir / "room").string());
  EXPECT_NE(ReadFile(RankingFile(dir / "room")).find("Rank0=500,"), std::string::npos);
}

// --ranking names whatever the player keeps there. The name entry's result
// reaches a regular file, through links, keeping its mode, and a bare name
// in the current folder; anything else (read-only also for root) stays as
// it was, told in one line, and the game goes on. A FIFO never holds the
// run up.
TEST(ErrorPaths, TheRankingNamedIsSavedThroughLinksWithItsModeAndWhatIsNoFileIsLeftAlone) {
  auto dir = TestDir("paths");
  const std::string old = "[Software\\KorvaGames\\Velloria]\nRank0=10,OLD\n";
  fs::create_directories(dir / "dotfiles");
  fs::create_directories(dir / "scratch");
  fs::create_directories(dir / "folder");
  std::ofstream(dir / "dotfiles" / "ranking.ini") << old;
  fs::create_symlink("dotfiles/ranking.ini", dir / "link");
  fs::create_symlink("link", dir / "chain");
  std::ofstream(dir / "private.ini") << old;
  ::chmod((dir / "private.ini").c_str(), 0600);
  std::ofstream(dir / "read-only.ini") << old;
  ::chmod((dir / "read-only.ini").c_str(), 0444);
  fs::create_directories(dir / "read-only");
  std::ofstream(dir / "read-only" / "ranking.ini") << old;
  ::chmod((dir / "read-only").c_str(), 0555);
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
  // A device node needs root (or the right capability); /dev/null's numbers.
  bool device = ::mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  if (!device) std::puts("note: no device node without root; that case is left out");
  const std::string notSaved = " is not a regular file; the ranking will not be saved\n";
  struct Case {
    std::string ranking, folder, errors;
  } cases[] = {
      {"chain", "", ""},
      {"private.ini", "", ""},
      {"bare.ini", "scratch", ""},
      {"read-only.ini", "", "velloria: cannot save the ranking to read-only.ini: read-only file\n"},
      {"read-only/ranking.ini", "", "velloria: cannot save the ranking to read-only/ranking.ini: read-only folder\n"},
      {"fifo", "", "velloria: fifo" + notSaved + "velloria: could not save fifo: not a regular file\n"},
      {"folder", "", "velloria: folder" + notSaved},
      {device ? "null" : "", "", "velloria: null" + notSaved}};
  for (const Case& c : cases) {
    if (c.ranking.empty()) continue;
    std::string shot = c.ranking == "fifo" ? " --shot 1:fifo" : "";  // a tool's picture neither
    RunResult r =
        RunGame(NameEntryRun(dir, c.ranking) + shot, "", "cd '" + (dir / c.folder).string() + "' && timeout 20 env");
    EXPECT_EQ(r.code, 0) << c.ranking;
    EXPECT_EQ(r.errors, c.errors) << c.ranking;
    EXPECT_TRUE(Reached(dir / "stats.txt", "state", StatsLog::Value(game_state::kHandOver)))
        << c.ranking << ": no game went on after the name entry";
  }
  for (const fs::path& saved : {dir / "dotfiles" / "ranking.ini", dir / "private.ini", dir / "scratch" / "bare.ini"})
    EXPECT_NE(ReadFile(saved).find("Rank0=500,V\n"), std::string::npos) << saved;
  EXPECT_TRUE(fs::is_symlink(dir / "chain") && fs::is_symlink(dir / "link"));
  EXPECT_EQ(fs::status(dir / "private.ini").permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(ReadFile(dir / "read-only.ini"), old);
  EXPECT_EQ(ReadFile(dir / "read-only" / "ranking.ini"), old);
  EXPECT_TRUE(fs::is_fifo(dir / "fifo") && fs::is_directory(dir / "folder") && fs::is_empty(dir / "folder"));
  if (device) {
    EXPECT_TRUE(fs::is_character_file(dir / "null"));
  }
  for (const auto& entry : fs::recursive_directory_iterator(dir))
    EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << "left behind: " << entry.path();
}

TEST(ErrorPaths, ABrokenRankingFileReadsByTheRulesAndTheNextSaveRepairsIt) {
  auto dir = TestDir("corrupt");
  fs::path home = dir / "config";
  WriteRanking(home, std::string("\x01\x02\xff garbage without equals\n") + "[Software\\KorvaGames\\Velloria]\n" +
                         "Rank0=no comma here\nRank1=20000,BIG\nRank2=" + std::string(300, 'A') + ",LONG\n" +
                         "Rank4=,NOTHING BEFORE\nRank5=45,  SPACED NAME  \nRank6=\x01\x02\xff,BIN\nRank7=-5,NEG\n" +
                         "[Other]\nKey=kept\n");
  RunResult r = RunGame(NameEntryRun(dir, RankingFile(home).string()), home.string());
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.errors, "");
  std::string after = ReadFile(RankingFile(home));
  // Read as 0 ERROR, 0 BIG, 80 and 70 (defaults), 0 ERROR, 45, 0 BIN, -5;
  // the new 500 goes first and the last entry drops out.
  EXPECT_NE(after.find("Rank0=500,V"), std::string::npos) << after;
  EXPECT_NE(after.find("Rank1=0,ERROR\nRank2=0,BIG\n"), std::string::npos) << after;
  EXPECT_NE(after.find("Rank3=80,KORVA GAMES\n"), std::string::npos) << after;
  EXPECT_NE(after.find("Rank5=0,ERROR\nRank6=45,SPACED NAME\nRank7=0,BIN\n"), std::string::npos) << after;
  EXPECT_EQ(after.find("NEG"), std::string::npos) << after;
  EXPECT_NE(after.find("garbage without equals\n"), std::string::npos) << "unknown lines are kept";
  EXPECT_NE(after.find("[Other]\nKey=kept\n"), std::string::npos) << after;
}

TEST(ErrorPaths, APadPulledOutMidGameStopsSteeringAndTheKeysTakeOver) {
  auto dir = TestDir("pad");
  std::ofstream(dir / "pad.txt") << "seed 2\n150 joy 32767 0 0\n200 joy none\n250 +LEFT\n260 -LEFT\n";
  RunResult r = RunGame("--headless --start 1-1 --invulnerable --frames 300 --input " + (dir / "pad.txt").string() +
                        " --stats " + (dir / "stats.txt").string());
  ASSERT_EQ(r.code, 0) << r.errors;
  auto lines = ReadStats(dir / "stats.txt");
  ASSERT_EQ(lines.size(), 300u);
  ASSERT_EQ(lines[150].at("state"), StatsLog::Value(game_state::kPlaying))
      << "the level had not begun when the pad was pushed";
  auto x = [&](size_t frame) { return std::stoi(lines[frame].at("x")); };
  EXPECT_GT(x(199), x(150)) << "the pad steered";
  EXPECT_EQ(x(249), x(201)) << "she drifted on without the pad";
  EXPECT_LT(x(262), x(249)) << "the keyboard steers after the pad is gone";
}

TEST(LiveRun, EveryLaunchPlaysAGameOfItsOwnUnlessTheSeedIsGiven) {
  auto dir = TestDir("seeds");
  auto recordedSeed = [&](const std::string& more) {
    RunResult r = RunGame("--frames 2 --record " + (dir / "rec.txt").string() + more, dir / "config", LiveEnv(dir));
    EXPECT_EQ(r.code, 0) << r.errors;
    std::string text = ReadFile(dir / "rec.txt");
    size_t at = text.find("\nseed ");
    return at == std::string::npos ? std::string() : text.substr(at + 6, text.find('\n', at + 1) - at - 6);
  };
  std::string seeds[] = {recordedSeed(""), recordedSeed(""), recordedSeed("")};
  EXPECT_FALSE(seeds[0].empty());
  EXPECT_TRUE(seeds[0] != seeds[1] && seeds[1] != seeds[2] && seeds[0] != seeds[2])
      << seeds[0] << " " << seeds[1] << " " << seeds[2];
  // Milliseconds since the program started would be small numbers, all three.
  EXPECT_TRUE(std::stoull("0" + seeds[0]) > 100000 || std::stoull("0" + seeds[1]) > 100000 ||
              std::stoull("0" + seeds[2]) > 100000);
  EXPECT_EQ(recordedSeed(" --seed 77"), "77");
}

TEST(LiveRun, HeadlessRunsNeitherReadNorWriteThePlayersRankingUnlessOneIsNamed) {
  auto dir = TestDir("headless-ranking");
  fs::create_directories(dir / "empty");
  RunResult r = RunGame(NameEntryRun(dir, "", "empty.txt"), dir / "empty");
  EXPECT_EQ(r.code, 0) << r.errors;
  EXPECT_TRUE(fs::is_empty(dir / "empty")) << "a headless run wrote into the settings folder";
  // A full ranking on the machine changes nothing: the name entry still
  // opens and the file stays as it was.
  std::string full = "[Software\\KorvaGames\\Velloria]\n";
  for (int i = 0; i < 8; ++i) full += "Rank" + std::to_string(i) + "=9000,FULL\n";
  WriteRanking(dir / "full", full);
  r = RunGame(NameEntryRun(dir, "", "full.txt"), dir / "full");
  EXPECT_EQ(r.code, 0) << r.errors;
  EXPECT_TRUE(Reached(dir / "full.txt", "state", StatsLog::Value(game_state::kNameEntry)));
  EXPECT_EQ(ReadFile(dir / "full.txt"), ReadFile(dir / "empty.txt"));
  EXPECT_EQ(ReadFile(RankingFile(dir / "full")), full);
  // A named file gets the name entry's result.
  r = RunGame(NameEntryRun(dir, RankingFile(dir / "mine").string()), dir / "empty");
  EXPECT_EQ(r.code, 0) << r.errors;
  EXPECT_NE(ReadFile(RankingFile(dir / "mine")).find("Rank0=500,V\n"), std::string::npos);
  // A live run reads its ranking from the settings folder and writes
  // nothing there before a save.
  r = RunGame("--frames 2", dir / "live", LiveEnv(dir));
  EXPECT_EQ(r.code, 0) << r.errors;
  EXPECT_FALSE(fs::exists(dir / "live"));
  fs::create_directories(RankingFile(dir / "live").parent_path());
  ASSERT_EQ(::mkfifo(RankingFile(dir / "live").c_str(), 0644), 0);
  r = RunGame("--frames 2", dir / "live", LiveEnv(dir));
  EXPECT_EQ(r.errors, "velloria: " + RankingFile(dir / "live").string() +
                          " is not a regular file; the ranking will not be saved\n");
}

// Whatever a name on the command line turns out to be, the run says so in
// one line and ends with an error at once: nothing waits on a FIFO or reads
// a device without end, and a file written as the run goes that stops
// short (no room left: the size limit stands in for a full disk, its
// signal ignored so the write reports the error) fails the run.
TEST(ErrorPaths, NamedFilesThatAreNoFilesTooLargeOrCutShortAreToldInOneLineAndFailTheRun) {
  auto dir = TestDir("named");
  const std::string d = dir.string() + "/";
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
  fs::create_directories(dir / "folder");
  fs::resize_file((std::ofstream(dir / "big.txt"), dir / "big.txt"), 17 << 20);
  fs::resize_file((std::ofstream(dir / "over.txt"), dir / "over.txt"), (16 << 20) + 1);
  fs::resize_file((std::ofstream(dir / "cap.txt"), dir / "cap.txt"), 16 << 20);  // read, and found no input
  std::ofstream(dir / "odd.txt", std::ios::binary) << "\xEF\xBB\xBFseed 3\n1 +SP" << '\0' << "CE\x1B[2J\n";
  std::ofstream(dir / "long.txt") << "seed 3\n" << std::string(1 << 20, 'x') << "\n";
  NameEntryRun(dir, "");  // writes typer.txt
  const std::string input = " --input " + d + "typer.txt";
  const std::string full = "trap '' XFSZ; ulimit -f 1; ";
  std::string zeros;
  for (size_t i = 0; i < kPrintableBytes / 4; ++i) zeros += "\\x00";
  const std::string expected =
      R"(expected "FRAME +KEY", "FRAME -KEY", "FRAME focus-", "FRAME focus+" or "FRAME joy X Y BUTTONS")";
  struct Case {
    std::string args, env, errors;
    int code;
  } cases[] = {
      {"--input " + d + "fifo", "", d + "fifo is a FIFO, not an input file", 2},
      {"--input " + d + "folder", "", d + "folder is a folder, not an input file", 2},
      {"--input /dev/zero", "", "/dev/zero is a device, not an input file", 2},
      {"--input " + d + "big.txt", "", d + "big.txt is 17 MB, larger than the 16 MB an input file may be", 2},
      {"--input " + d + "over.txt", "", d + "over.txt is 16777217 bytes, larger than the 16 MB an input file may be",
       2},
      {"--input " + d + "cap.txt", "", "input file line 1: " + expected + ": \"" + zeros + "... (16777216 bytes)\"", 2},
      {"--input " + d + "odd.txt", "", "input file line 2: " + expected + ": \"1 +SP\\x00CE\\x1B[2J\"", 2},
      {"--input " + d + "long.txt", "",
       "input file line 2: " + expected + ": \"" + std::string(120, 'x') + "... (1048576 bytes)\"", 2},
      {"--record " + d + "fifo", "", "cannot write " + d + "fifo: not a regular file; the session is not recorded", 2},
      {"--stats " + d + "fifo", "", "cannot write " + d + "fifo: not a regular file; no statistics are logged", 2},
      {"--sound-log " + d + "folder", "", "cannot write " + d + "folder: a folder, not a file; sounds are not logged",
       2},
      {"--stats " + d + "s.txt", full, "cannot write " + d + "s.txt: file too large; no statistics are logged", 1},
      {"--record " + d + "r.txt" + input, full,
       "cannot write " + d + "r.txt: file too large; the session is not recorded", 1},
      {"--picture-log " + d + "p.txt", full, "cannot write " + d + "p.txt: file too large; no pictures are logged", 1},
      {"--shot 600:" + d + "x.png", "", "--shot 600: the run ends first (--frames 600 ends after frame 599)", 2},
  };
  for (const Case& c : cases) {
    RunResult r = RunGame("--headless --frames 600 " + c.args, "", c.env + "timeout 10 env");
    EXPECT_EQ(r.code, c.code) << c.args;
    EXPECT_EQ(r.errors, "velloria: " + c.errors + "\n") << c.args;
  }
  EXPECT_TRUE(fs::is_fifo(dir / "fifo") && fs::is_empty(dir / "folder") && !fs::exists(dir / "x.png"));
  EXPECT_EQ(RecordedEvents(dir / "r.txt").substr(0, 27), "# velloria session\nseed 3\n1")
      << "not even the start was kept";
}

// The ranking and the settings are read by the same rules: a byte-order
// mark in front (as some editors write) hides neither the ranking's section
// nor the first setting, and a ranking file far too large is left alone.
TEST(ErrorPaths, AByteOrderMarkedRankingKeepsItsTopScoreAndAnOversizedOneIsLeftAlone) {
  auto dir = TestDir("marked");
  const std::string section = "[Software\\KorvaGames\\Velloria]\n";
  std::ofstream(dir / "marked.ini", std::ios::binary) << "\xEF\xBB\xBF" << section << "Rank0=9000,TOP\n";
  RunResult r = RunGame(NameEntryRun(dir, (dir / "marked.ini").string()));
  EXPECT_EQ(r.code, 0) << r.errors;
  std::string after = ReadFile(dir / "marked.ini");
  EXPECT_NE(after.find("Rank0=9000,TOP\nRank1=500,V\n"), std::string::npos) << after;
  EXPECT_EQ(after.find(section), after.rfind(section)) << "a second section: " << after;
  fs::resize_file((std::ofstream(dir / "huge.ini"), dir / "huge.ini"), 9 << 20);
  r = RunGame(NameEntryRun(dir, (dir / "huge.ini").string()));
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.errors, "velloria: cannot save the ranking to " + (dir / "huge.ini").string() +
                          ": 9 MB, larger than the 8 MB a ranking or settings file may be\n");
  EXPECT_EQ(fs::file_size(dir / "huge.ini"), 9u << 20);
  EXPECT_TRUE(Reached(dir / "stats.txt", "state", StatsLog::Value(game_state::kHandOver)));
}
