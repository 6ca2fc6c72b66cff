// Runs kept alone: a session of several games, each run of it replayed by
// itself from its file against the session's own pictures; a file altered
// at one event stopped at the next check; the file's new lines refused when
// malformed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "app/application.h"
#include "app/game_scenes.h"
#include "app/headless_host.h"
#include "app/main_loop.h"
#include "app/picture_log.h"
#include "app/replay_run.h"
#include "app/replay_shelf.h"
#include "app/run_recorder.h"
#include "app/state_check.h"
#include "drivers/input_drivers.h"
#include "gfx/display.h"
#include "tests/run_helpers.h"

namespace {

// The picture after each tick of a run (a tick without a frame repeats it).
void LogPictures(MainLoop& loop, std::vector<uint32_t>& pictures) {
  loop.OnTick([&pictures](int64_t, bool ran) {
    const Surface* back = GetBackSurface();
    pictures.push_back(ran && back ? PictureDigest(*back) : pictures.empty() ? 0 : pictures.back());
  });
}

struct Session {
  std::vector<KeptRun> runs;
  std::vector<uint32_t> pictures;
};

// A session from the logo on, every run of it kept: random keys from a
// seed (games, continues taken and refused, names typed, the title in
// between), or a script's.
Session PlaySession(int64_t frames, uint32_t soakSeed, const InputScript* script = nullptr) {
  Options options;
  options.headless = true;
  options.mute = true;
  options.frames = frames;
  if (!script) options.soakSeed = soakSeed;
  HeadlessHost host;
  PlatformServices services;
  services.host = &host;
  GameSceneFactory scenes;
  std::unique_ptr<InputDriver> driver = MakeInputDriver(options);
  Application application(options, services, scenes, driver.get());
  if (script) application.UseScript(*script, false);
  Session session;
  EXPECT_FALSE(application.Start());
  RunRecorder recorder([&session](const KeptRun& run) { session.runs.push_back(run); });
  recorder.Attach(application.Loop());
  LogPictures(application.Loop(), session.pictures);
  application.Loop().Run();
  recorder.Finish();
  application.Finish();
  return session;
}

std::vector<uint32_t> ReplayPictures(const InputScript& script) {
  Options options;
  options.headless = true;
  options.mute = true;
  HeadlessHost host;
  PlatformServices services;
  services.host = &host;
  GameSceneFactory scenes;
  Application application(options, services, scenes);
  application.UseScript(script, true);
  std::vector<uint32_t> pictures;
  EXPECT_FALSE(application.Start());
  LogPictures(application.Loop(), pictures);
  application.Loop().Run();
  application.Finish();
  return pictures;
}

InputScript Parse(const std::string& text) {
  std::string error;
  std::optional<InputScript> script = ParseInputScript(text, error);
  EXPECT_TRUE(script) << error;
  return script.value_or(InputScript{});
}

void ExpectSameRun(const RunSummary& replayed, const RunSummary& played) {
  EXPECT_EQ(replayed.start, played.start);
  EXPECT_EQ(replayed.potions, played.potions);
  EXPECT_EQ(replayed.furthestStage, played.furthestStage);
  EXPECT_EQ(replayed.furthestLevel, played.furthestLevel);
  EXPECT_EQ(replayed.continuesUsed, played.continuesUsed);
  EXPECT_EQ(replayed.endingSeen, played.endingSeen);
  EXPECT_EQ(replayed.frames, played.frames);
  EXPECT_TRUE(replayed.ended);
}

// The run's file replays it alone, as the session played it.
void ExpectReplaysAlone(const KeptRun& run, const Session& session) {
  SCOPED_TRACE("the run from session frame " + std::to_string(run.firstFrame));
  InputScript script = Parse(run.text);
  ASSERT_TRUE(script.run);
  EXPECT_EQ(script.version, VersionText());
  EXPECT_EQ(script.checks.size(), static_cast<size_t>((run.summary.frames - 1) / kCheckInterval));
  if (run.summary.ended) {
    ReplayOutcome outcome = ReplayFirstRun(script, {run.summary.frames + 1000});
    EXPECT_TRUE(outcome.ok) << outcome.reason;
    ExpectSameRun(outcome.run, run.summary);
  }
  std::vector<uint32_t> replayed = ReplayPictures(script);
  ASSERT_EQ(replayed.size(), static_cast<size_t>(run.summary.frames));
  auto played = session.pictures.begin() + run.firstFrame;
  auto [a, b] = std::mismatch(replayed.begin(), replayed.end(), played);
  EXPECT_EQ(a, replayed.end()) << "the pictures differ from the run's frame " << (a - replayed.begin());
}

}  // namespace

TEST(KeptRuns, EveryRunOfASessionReplaysAloneWithTheSessionsPictures) {
  Session session = PlaySession(20000, 3);
  std::vector<KeptRun> ended;
  std::copy_if(session.runs.begin(), session.runs.end(), std::back_inserter(ended),
               [](const KeptRun& run) { return run.summary.ended; });
  ASSERT_GE(ended.size(), 3u);
  ASSERT_EQ(session.runs.size(), ended.size() + 1) << "the run cut short by the session's end is kept unfinished";
  EXPECT_TRUE(std::any_of(ended.begin(), ended.end(), [](auto& r) { return r.summary.continuesUsed > 0; }));
  for (const KeptRun& run : session.runs) ExpectReplaysAlone(run, session);
}

// Keys held through the game start: the witch flies right from its first
// frame and a held fire key repeats on the beat it began counting in the title.
TEST(KeptRuns, ARunBegunWithKeysHeldReplaysAloneWithThem) {
  InputScript script;
  script.holdToFire = true;
  script.events = {{0, ScriptedEvent::Kind::KeyDown, key::kRight}, {0, ScriptedEvent::Kind::KeyDown, key::kSpace}};
  for (int64_t f = 1; f < 400; f += 12) {
    script.events.push_back({f, ScriptedEvent::Kind::KeyDown, key::kEnter});
    script.events.push_back({f + 1, ScriptedEvent::Kind::KeyUp, key::kEnter});
  }
  Session session = PlaySession(1200, 0, &script);
  ASSERT_EQ(session.runs.size(), 1u);
  EXPECT_NE(session.runs[0].text.find("\ninput down SPACE RIGHT\n"), std::string::npos) << session.runs[0].text;
  ExpectReplaysAlone(session.runs[0], session);
}

TEST(KeptRuns, AFileAlteredAtOneEventStopsAtTheNextCheckNamingItsFrame) {
  Session session = PlaySession(6000, 3);
  ASSERT_FALSE(session.runs.empty());
  // A pause begun 10 frames later, its line edited where it stands: the
  // game is 10 frames further on from then.
  std::string text = session.runs.front().text;
  InputScript played = Parse(text);
  auto pause = std::find_if(played.events.begin(), played.events.end(), [](const ScriptedEvent& e) {
    return e.frame >= 300 && e.kind == ScriptedEvent::Kind::KeyDown && e.key == key::kP;
  });
  ASSERT_NE(pause, played.events.end());
  std::string line = "\n" + FormatScriptedEvent(*pause) + "\n";
  text.replace(text.find(line), line.size(), "\n" + std::to_string(pause->frame + 10) + " +P\n");
  InputScript script = Parse(text);
  int64_t nextCheck = (pause->frame / kCheckInterval + 1) * kCheckInterval;

  ReplayOutcome outcome = ReplayFirstRun(script, {100000});
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.failedFrame, nextCheck);
  EXPECT_EQ(outcome.run.frames, nextCheck + 1) << "the replay ran on past the difference";

  // Through the program: one line naming the maker and the frame, exit 1.
  TestDir dir("altered-run");
  std::ofstream(dir / "run.txt") << text;
  RunResult r = RunGame("--headless --input " + (dir / "run.txt").string());
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.errors.rfind("velloria: recorded by velloria " VELLORIA_VERSION " (rules ", 0), 0u) << r.errors;
  EXPECT_TRUE(r.errors.ends_with("); this game differs from frame " + std::to_string(nextCheck) + "\n")) << r.errors;
  EXPECT_EQ(std::count(r.errors.begin(), r.errors.end(), '\n'), 1);
}

TEST(KeptRuns, MalformedHeaderAndCheckLinesAreRefusedNamingTheLine) {
  const char* bad[] = {
      "check 250 1a2b3c\n",                            // seven digits
      "check 500 00000000\ncheck 250 00000000\n",      // back
      "run episode 4\n",                               // the title has three
      "run start 5-1:0\n",                             // no such stage
      "random 5\n",                                    // before its run line
      "run episode 1\nrank 8 10,A\n",                  // places 0..7
      "run episode 1\nrank 0 10,%4\n",                 // a cut escape
      "run episode 1\nrank 0 10,SIXTEEN CHARACTER\n",  // too long a name
      "run episode 1\ninput held 1 2 3\n",             // four counts
      "run episode 1\n5 +SPACE\ninput down RIGHT\n",   // after an event
      "5 +SPACE\nversion velloria 0.1.0 rules 0\n",    // after an event
      "run episode 1\nrun episode 2\n",                // one run a file
  };
  for (const char* text : bad) {
    std::string error;
    EXPECT_FALSE(ParseInputScript(text, error)) << text;
    EXPECT_NE(error.find("line "), std::string::npos) << text;
  }
  // What a recording writes reads back the same: names with the file's
  // own characters, keys held, the pad.
  std::string text =
      "version velloria 0.1.0 rules 0123456789abcdef\nrun start 2-5:100\nrandom 4294967295\nrank 0 -5,%20A%23B%25 # a "
      "comment\n"
      "rank 7 9999,%C3%A9T%C3%A9\ninput down RIGHT SPACE\ninput held 37 0 0 2\ninput pad -32768 32767 9\nfast on\n";
  InputScript script = Parse(text);
  ASSERT_TRUE(script.run);
  ASSERT_TRUE(script.run->ranking[0]);
  EXPECT_STREQ(script.run->ranking[0]->name, " A#B%");
  EXPECT_NE(FormatInputScript(script).find("\nrank 0 -5,%20A%23B%25\n"), std::string::npos);
  EXPECT_EQ(FormatInputScript(Parse(FormatInputScript(script))), FormatInputScript(script));
  EXPECT_EQ(std::string(script.run->ranking[7]->name), "\xC3\xA9T\xC3\xA9");
  EXPECT_EQ(script.run->input.fireHeld[0], 37);
  EXPECT_TRUE(script.run->fast);
}

TEST(KeptRuns, TheFolderDropsTheOldestRunThatHoldsNoPlaceAndIsNotMarked) {
  TestDir dir("kept-folder");
  std::array<RankEntry, kRankEntries> ranking{};
  auto run = [](int potions, const char* name = nullptr) {
    KeptRun kept{{}, "run episode 1\nend 0\n"};
    kept.summary.potions = potions;
    if (name) kept.summary.entered.push_back(RankEntry{potions, {}});
    if (name) std::strcpy(kept.summary.entered.back().name, name);
    return kept;
  };
  auto potionsKept = [&dir] {
    std::vector<int> potions;
    for (const ShelfEntry& e : ParseShelfIndex(ReadFile(dir / "index.txt"))) potions.push_back(e.potions);
    size_t files = 0;
    for (auto& f : std::filesystem::directory_iterator(dir.path())) files += f.path().filename() != "index.txt";
    EXPECT_EQ(files, potions.size()) << "the folder holds a file the index does not name, or the other way round";
    return potions;
  };
  ranking[0] = {500, "ANNA"};
  EXPECT_TRUE(KeepRun(dir.path(), run(500, "ANNA"), ranking).Done());
  for (int i = 1; i <= static_cast<int>(kRecentRuns) + 1; ++i) KeepRun(dir.path(), run(i), ranking);
  std::vector<int> potions = potionsKept();
  ASSERT_EQ(potions.size(), kRecentRuns + 1);
  EXPECT_EQ(potions[0], 500) << "a run holding a place stays";
  EXPECT_EQ(potions[1], 2) << "the oldest of the others went";
  // Out of the ranking, it is the oldest of them.
  ranking[0] = {600, "BEA"};
  KeepRun(dir.path(), run(7), ranking);
  potions = potionsKept();
  ASSERT_EQ(potions.size(), kRecentRuns);
  EXPECT_EQ(potions.front(), 3);
  EXPECT_EQ(potions.back(), 7);

  // Lines alike belong to the older run first, as the ranking keeps them.
  std::vector<ShelfEntry> twins(2);
  for (ShelfEntry& e : twins) e.entered = {RankEntry{50, "X"}};
  ranking[3] = {50, "X"};
  EXPECT_EQ(RankedPlaces(twins, ranking), (std::vector<int>{3, -1}));
  ranking[4] = {50, "X"};
  EXPECT_EQ(RankedPlaces(twins, ranking), (std::vector<int>{3, 4}));

  // A folder that cannot be made: told once on standard error, for the notice.
  uint32_t saves = LastReplaySave().saves;
  std::ofstream(dir / "file") << "x";
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(KeepRun(dir / "file" / "runs", run(1), ranking).Done());
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("velloria: cannot keep the run in "), std::string::npos);
  EXPECT_TRUE(LastReplaySave().failed);
  EXPECT_EQ(LastReplaySave().saves, saves + 1);
}
