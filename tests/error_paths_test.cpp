// What a player meets when the machine is not as expected: no display, no
// sound, no soundfont, a home that cannot be written, a broken ranking file,
// missing tunes, a second copy and a pad pulled out mid-game. Live runs use
// SDL's dummy video driver and end by themselves after a few frames.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <vector>

#include "app/instance_lock.h"
#include "tests/run_helpers.h"

namespace {

namespace fs = std::filesystem;

using StatsLine = std::map<std::string, std::string>;

std::vector<StatsLine> ReadStatsLines(const fs::path& path) {
  std::vector<StatsLine> lines;
  std::ifstream in(path);
  std::string text;
  while (std::getline(in, text)) {
    StatsLine line;
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
      size_t eq = word.find('=');
      if (eq != std::string::npos) line[word.substr(0, eq)] = word.substr(eq + 1);
    }
    lines.push_back(line);
  }
  return lines;
}

int Number(const StatsLine& line, const char* key) { return std::atoi(line.at(key).c_str()); }

bool Reached(const std::vector<StatsLine>& lines, const char* key, const std::string& value) {
  for (const StatsLine& l : lines) {
    if (l.count(key) && l.at(key) == value) return true;
  }
  return false;
}

// A live run on the dummy video driver with a lock folder of its own, so
// tests running side by side never meet each other's lock.
std::string LiveEnv(const fs::path& dir, const std::string& more = "") {
  fs::create_directories(dir / "run");
  return "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR='" + (dir / "run").string() + "' " + more;
}

// With 500 potions and no steering the witch is shot down within the first
// level; her score enters the ranking and the name entry opens. V is typed
// and confirmed over and over, so whenever it opens it is finished.
fs::path WriteNameEntryInput(const fs::path& dir) {
  fs::path file = dir / "typer.txt";
  std::ofstream out(file);
  out << "seed 3\n";
  for (int f = 10; f < 3000; f += 20) {
    out << f << " +V\n" << f + 1 << " -V\n" << f + 10 << " +RETURN\n" << f + 11 << " -RETURN\n";
  }
  return file;
}
fs::path RankingFile(const fs::path& home) { return home / "KorvaGames" / "Velloria" / "ranking.ini"; }

// Headless runs keep no ranking unless one is named: these name the one a
// live run would use with home as its settings folder.
std::string NameEntryRun(const fs::path& home) {
  return "--headless --start 1-1:500 --frames 1500 --ranking '" + RankingFile(home).string() + "'";
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
    EXPECT_NE(r.errors.find("Velloria Message: Failed to create application window.\n"), std::string::npos)
        << env << ": " << r.errors;
    // The loop ends before its first frame.
    EXPECT_TRUE(ReadStatsLines(dir / "stats.txt").empty()) << env;
  }
}

TEST(ErrorPaths, WithoutSoundDeviceOrSoundfontTheGameRunsInSilence) {
  auto dir = TestDir("nosound");
  for (const char* env : {"SDL_AUDIODRIVER=nonexistent", "SDL_SOUNDFONTS=/nonexistent/none.sf2",
                          "SDL_AUDIODRIVER=nonexistent SDL_SOUNDFONTS=/nonexistent/none.sf2"}) {
    fs::remove(dir / "stats.txt");
    fs::remove(dir / "sound.txt");
    // The dummy audio driver from LiveEnv is overridden by the later setting.
    RunResult r = RunGame("--start 1-1 --frames 30 --stats " + (dir / "stats.txt").string() + " --sound-log " +
                              (dir / "sound.txt").string(),
                          dir / "config", LiveEnv(dir) + env);
    EXPECT_EQ(r.code, 0) << env;
    EXPECT_EQ(r.errors.find("Velloria Message"), std::string::npos) << env << ": " << r.errors;
    auto lines = ReadStatsLines(dir / "stats.txt");
    ASSERT_EQ(lines.size(), 30u) << env;
    EXPECT_EQ(lines.back().at("scene"), "4") << env;
    // The game went on asking for its tune.
    EXPECT_NE(ReadFile(dir / "sound.txt").find("music open Music01.mid"), std::string::npos) << env;
  }
}

TEST(ErrorPaths, MissingTunesMeanNoMusicAndNoMessage) {
  auto dir = TestDir("nomidi");
  fs::create_directories(dir / "bare");
  fs::copy_file(VELLORIA_EXE, dir / "bare" / "velloria");
  ASSERT_FALSE(fs::exists(dir / "bare" / "Music01.mid"));
  RunResult r = RunGame("--start 1-1 --frames 30 --stats " + (dir / "stats.txt").string(), dir / "config", LiveEnv(dir),
                        (dir / "bare" / "velloria").string());
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.errors, "");
  auto lines = ReadStatsLines(dir / "stats.txt");
  ASSERT_EQ(lines.size(), 30u);
  EXPECT_EQ(lines.back().at("scene"), "4");
}

TEST(ErrorPaths, ASecondCopyEndsAtOnceWithCodeZeroWhileTheFirstHoldsTheLock) {
  auto dir = TestDir("second");
  std::string env = LiveEnv(dir);
  // The lock a running copy holds, taken here as that copy would.
  ::setenv("XDG_RUNTIME_DIR", (dir / "run").c_str(), 1);
  {
    InstanceLock first;
    ASSERT_TRUE(first.Acquire());
    RunResult r = RunGame("--frames 25 --stats " + (dir / "second.txt").string(), dir / "config", env);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.errors, "Velloria is already running.\n");
    EXPECT_FALSE(fs::exists(dir / "second.txt")) << "the second copy started up";
    // Headless runs take no lock.
    RunResult h = RunGame("--headless --frames 5 --stats " + (dir / "headless.txt").string(), dir / "config", env);
    EXPECT_EQ(h.code, 0);
    EXPECT_EQ(ReadStatsLines(dir / "headless.txt").size(), 5u);
  }
  // Once the first copy is gone the next one runs.
  RunResult r = RunGame("--frames 5 --stats " + (dir / "alone.txt").string(), dir / "config", env);
  EXPECT_EQ(r.code, 0) << r.errors;
  EXPECT_EQ(ReadStatsLines(dir / "alone.txt").size(), 5u);
  InstanceLock after;
  EXPECT_TRUE(after.Acquire()) << "the game kept its lock after it ended";
  ::unsetenv("XDG_RUNTIME_DIR");
}

TEST(ErrorPaths, ARunningCopyHoldsTheLockUntilItEnds) {
  auto dir = TestDir("holder");
  std::string env = LiveEnv(dir);
  fs::path stats = dir / "stats.txt";
  std::string command = env + " XDG_CONFIG_HOME='" + (dir / "config").string() + "' " + VELLORIA_EXE +
                        " --frames 50 --stats " + stats.string() + " 2>/dev/null";
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // Its first frame shows it is past the lock (at most ten seconds' wait).
  for (int i = 0; i < 1000 && ReadStatsLines(stats).empty(); ++i) ::usleep(10000);
  ASSERT_FALSE(ReadStatsLines(stats).empty()) << "the first copy never ran a frame";
  ::setenv("XDG_RUNTIME_DIR", (dir / "run").c_str(), 1);
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

TEST(ErrorPaths, AHomeThatCannotBeWrittenLeavesTheDefaultsAndReportsNothing) {
  // Root may write anywhere, so the settings folder is a regular file.
  auto dir = TestDir("readonly");
  fs::path home = dir / "not-a-folder";
  std::ofstream(home) << "just a file\n";
  RunResult r = RunGame(
      NameEntryRun(home) + " --input " + WriteNameEntryInput(dir).string() + " --stats " + (dir / "stats.txt").string(),
      home.string());
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.errors, "");
  auto lines = ReadStatsLines(dir / "stats.txt");
  ASSERT_TRUE(Reached(lines, "state", "8")) << "the run never reached the name entry";
  // The save after the name entry failed quietly and the game went on.
  EXPECT_TRUE(Reached(lines, "state", "9"));
  EXPECT_EQ(ReadFile(home), "just a file\n");
}

TEST(ErrorPaths, AFullDiskKeepsThePreviousRanking) {
  auto dir = TestDir("fulldisk");
  const std::string before = "[Software\\KorvaGames\\Velloria]\nRank0=10,OLD\n";
  fs::path input = WriteNameEntryInput(dir);
  // No file may grow: every write fails as on a full disk (the signal a
  // too-large write raises is ignored, so the write reports the error).
  WriteRanking(dir / "full", before);
  RunResult r = RunGame(NameEntryRun(dir / "full") + " --input " + input.string(), (dir / "full").string(),
                        "trap '' XFSZ; ulimit -f 0;");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(ReadFile(RankingFile(dir / "full")), before);
  for (const auto& entry : fs::directory_iterator(RankingFile(dir / "full").parent_path())) {
    EXPECT_EQ(entry.path().filename(), "ranking.ini") << "left behind";
  }
  // The same run with room to write does save.
  WriteRanking(dir / "room", before);
  r = RunGame(NameEntryRun(dir / "room") + " --input " + input.string(), (dir / "room").string());
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(ReadFile(RankingFile(dir / "room")).find("Rank0=500,"), std::string::npos);
}

TEST(ErrorPaths, ACorruptRankingFileReadsByTheRulesAndIsRepairedByTheNextSave) {
  auto dir = TestDir("corrupt");
  fs::path home = dir / "config";
  std::string junk = std::string("\x01\x02\xff garbage without equals\n") + "[Software\\KorvaGames\\Velloria]\n" +
                     "Rank0=no comma here\n" + "Rank1=20000,BIG\n" + "Rank2=" + std::string(300, 'A') + ",LONG\n" +
                     "Rank4=,NOTHING BEFORE\n" + "Rank5=45,  SPACED NAME  \n" + "Rank6=\x01\x02\xff,BIN\n" +
                     "Rank7=-5,NEG\n" + "[Other]\nKey=kept\n";
  WriteRanking(home, junk);
  RunResult r = RunGame(
      NameEntryRun(home) + " --input " + WriteNameEntryInput(dir).string() + " --stats " + (dir / "stats.txt").string(),
      home.string());
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.errors, "");
  ASSERT_TRUE(Reached(ReadStatsLines(dir / "stats.txt"), "state", "8"));
  std::string after = ReadFile(RankingFile(home));
  // Read as: 0 ERROR, 0 BIG, default 80, default 70, 0 ERROR, 45, 0 BIN,
  // -5; the new 500 goes first and the last entry drops out.
  EXPECT_NE(after.find("Rank0=500,"), std::string::npos) << after;
  EXPECT_NE(after.find("Rank1=0,ERROR\nRank2=0,BIG\n"), std::string::npos) << after;
  EXPECT_NE(after.find("Rank3=80,KORVA GAMES\n"), std::string::npos) << after;
  EXPECT_NE(after.find("Rank4=70,KORVA GAMES\n"), std::string::npos) << after;
  EXPECT_NE(after.find("Rank5=0,ERROR\n"), std::string::npos) << after;
  EXPECT_NE(after.find("Rank6=45,SPACED NAME\n"), std::string::npos) << after;
  EXPECT_NE(after.find("Rank7=0,BIN\n"), std::string::npos) << after;
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
  auto lines = ReadStatsLines(dir / "stats.txt");
  ASSERT_EQ(lines.size(), 300u);
  ASSERT_EQ(lines[150].at("state"), "1") << "the level had not begun when the pad was pushed";
  EXPECT_GT(Number(lines[199], "x"), Number(lines[150], "x")) << "the pad steered";
  // Pulled out while pushed right: she stops instead of drifting on.
  EXPECT_EQ(Number(lines[249], "x"), Number(lines[201], "x"));
  EXPECT_LT(Number(lines[262], "x"), Number(lines[249], "x")) << "the keyboard steers after the pad is gone";
  EXPECT_EQ(lines.back().at("state"), "1");
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
  fs::path input = WriteNameEntryInput(dir);
  std::string run = "--headless --start 1-1:500 --frames 1500 --input " + input.string();
  fs::create_directories(dir / "empty");
  RunResult r = RunGame(run + " --stats " + (dir / "empty.txt").string(), dir / "empty");
  EXPECT_EQ(r.code, 0) << r.errors;
  EXPECT_TRUE(fs::is_empty(dir / "empty")) << "a headless run wrote into the settings folder";
  // A full ranking on the machine changes nothing: the name entry still
  // opens and the file stays as it was.
  std::string full = "[Software\\KorvaGames\\Velloria]\n";
  for (int i = 0; i < 8; ++i) full += "Rank" + std::to_string(i) + "=9000,FULL\n";
  WriteRanking(dir / "full", full);
  r = RunGame(run + " --stats " + (dir / "full.txt").string(), dir / "full");
  EXPECT_EQ(r.code, 0) << r.errors;
  EXPECT_TRUE(Reached(ReadStatsLines(dir / "full.txt"), "state", "8"));
  EXPECT_EQ(ReadFile(dir / "full.txt"), ReadFile(dir / "empty.txt"));
  EXPECT_EQ(ReadFile(RankingFile(dir / "full")), full);
  // A named file gets the name entry's result.
  r = RunGame(run + " --ranking " + (dir / "mine.ini").string(), dir / "empty");
  EXPECT_EQ(r.code, 0) << r.errors;
  EXPECT_NE(ReadFile(dir / "mine.ini").find("Rank0=500,V\n"), std::string::npos) << ReadFile(dir / "mine.ini");
  // A live run keeps its ranking in the settings folder.
  r = RunGame("--frames 2", dir / "live", LiveEnv(dir));
  EXPECT_EQ(r.code, 0) << r.errors;
  EXPECT_TRUE(fs::exists(RankingFile(dir / "live")));
}
