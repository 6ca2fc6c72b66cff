// The command line, frame pacing, the message loop's keys, clock and input
// drivers, and the screenshot folder.
#include <gtest/gtest.h>

#include <tuple>

#include "app/app_block.h"
#include "app/frame_pacer.h"
#include "app/input_driver.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "app/picture_folder.h"
#include "app/sequencer.h"
#include "app/shutdown.h"
#include "app/state_check.h"
#include "audio/sound_log.h"
#include "base/frame_clock.h"
#include "base/output_file.h"
#include "gfx/display.h"
#include "input/input.h"
#include "input/joystick_source.h"
#include "tests/doubles.h"
#include "tests/run_helpers.h"

namespace {

std::optional<Options> Parse(std::vector<const char*> args, std::string& error) {
  args.insert(args.begin(), "velloria");
  return ParseOptions(static_cast<int>(args.size()), args.data(), error);
}

// A host whose clock moves only while the loop waits; a blocking wait, or
// the clock reaching endAt, ends the run. Its events come from `events`,
// each once the run's frame has reached the frame it is paired with.
class FakeHost : public Host {
 public:
  bool PollEvent(HostEvent& event) override {
    if (events.empty() || events.front().first > CurrentFrame()) return false;
    event = events.front().second;
    events.erase(events.begin());
    return true;
  }
  void WaitEvent(int timeoutMs) override {
    ++waits;
    now += timeoutMs < 0 ? 0 : static_cast<uint32_t>(timeoutMs);
    if (timeoutMs < 0 || now >= endAt) Shutdown(nullptr);
  }
  uint32_t NowMs() override { return now; }
  void ShowCursor(bool) override {}
  void HideWindow() override {}
  void ShowMessage(const char*, const char*) override {}
  void SetTitle(const char* title) override { titles.push_back(title); }
  std::vector<std::pair<int64_t, HostEvent>> events;
  std::vector<std::string> titles;
  uint32_t now = 1000;
  uint32_t endAt = 0xFFFFFFFF;
  int waits = 0;
};

class CountingScene : public Scene {
 public:
  explicit CountingScene(int& n) : n_(n) {}
  void Start() override {}
  void Update() override { ++n_; }

 private:
  int& n_;
};

class CountingFactory : public SceneFactory {
 public:
  std::unique_ptr<Scene> Make(SceneKind) override { return std::make_unique<CountingScene>(updates); }
  std::unique_ptr<Scene> MakeGame(int, int, int) override { return std::make_unique<CountingScene>(updates); }
  int updates = 0;
};

// A pad read once before every frame: one reading per frame from a list.
class ScriptedPad : public JoystickSource {
 public:
  JoystickReading Read() override { return readings[std::min(frame++, readings.size() - 1)]; }
  std::vector<JoystickReading> readings;
  size_t frame = 0;
};

using Kind = ScriptedEvent::Kind;

class Loop : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAppBlock();
    SetShutdownTargets(&host, &sequencer);
  }
  void TearDown() override {
    SetShutdownTargets(nullptr, nullptr);
    ResetShutdown();
  }
  // Runs (the application block keeps what earlier runs left in it) and
  // returns, per tick, whether a frame ran ("x") or not (".").
  std::string Run(LoopConfig config, bool paused = false) {
    ResetShutdown();
    CreateDisplay(nullptr);
    SetDisplayMode();
    InitInput();
    GetAppBlock().paused = paused ? 1 : 0;
    MainLoop loop(host, sequencer, std::move(config));
    std::string ran;
    loop.OnTick([&](int64_t, bool r) { ran += r ? "x" : "."; });
    loop.Run();
    return ran;
  }
  std::string RunHeadless(std::vector<ScriptedEvent> script, int64_t frames) {
    LoopConfig config;
    config.headless = true;
    config.frames = frames;
    config.script = std::move(script);
    return Run(std::move(config));
  }
  FakeHost host;
  CountingFactory factory;
  Sequencer sequencer{factory};
};

}  // namespace

TEST(Options, ParseTheCommandLineAndRejectBadValuesWithAMessage) {
  std::string error;
  auto o = Parse({"--headless", "--frames", "100", "--seed=9", "--shot", "7:b.png", "--start", "2-16:150", "--scale",
                  "3", "--soak", "4000000000", "--picture-log", "p.txt", "--ranking", "r.ini", "--music-volume", "0",
                  "--sound-volume=100"},
                 error);
  ASSERT_TRUE(o) << error;
  EXPECT_TRUE(o->headless);
  EXPECT_EQ(o->frames, 100);
  EXPECT_EQ(o->seed, 9u);
  EXPECT_EQ(o->shots.at(0).frame, 7);
  EXPECT_EQ(o->shots.at(0).path, "b.png");
  EXPECT_EQ(std::tie(*o->startStage, o->startLevel, o->startPotions), std::make_tuple(2, 16, 150));
  EXPECT_EQ(o->scale, 3);
  EXPECT_EQ(o->soakSeed, 4000000000u);
  EXPECT_EQ(o->pictureLog, "p.txt");
  EXPECT_EQ(o->rankingFile, "r.ini");
  EXPECT_EQ(std::tie(o->musicVolume, o->soundVolume), std::make_tuple(0, 100));
  EXPECT_FALSE(o->fullScreen);  // the settings decide
  ASSERT_TRUE(Parse({"--start", "4-1:9999"}, error));
  o = Parse({"--fullscreen", "--settings", "s.ini"}, error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(std::tie(*o->fullScreen, o->settingsFile), std::make_tuple(true, "s.ini"));
  // A bad value is told the range it should be in; an option where a value
  // belongs is no value.
  EXPECT_FALSE(Parse({"--scale", "0"}, error));
  EXPECT_EQ(error, "--scale: expected 1 to 8, not \"0\"");
  EXPECT_FALSE(Parse({"--ranking", "--frames", "1"}, error));
  EXPECT_EQ(error, "--ranking needs FILE, not the option --frames");
  std::vector<std::vector<const char*>> bad = {{"--frames", "-3"},
                                               {"--frames"},
                                               {"--shot", "x.png"},
                                               {"--shot", "3:"},
                                               {"--start", "5-1"},
                                               {"--start", "1-17"},
                                               {"--start", "0-1"},
                                               {"--start", "1-1:-4"},
                                               {"--start", "1-1:10000"},
                                               {"--scale", "0"},
                                               {"--scale", "9"},
                                               {"--nonsense"},
                                               {"--headless=1"},
                                               {"--soak", "seven"},
                                               {"--ranking"},
                                               {"--ranking="},
                                               {"--autopilot", "--soak", "9"},
                                               {"--window", "--fullscreen"}};
  for (const char* volume : {"--music-volume", "--sound-volume"}) {
    for (const char* value : {"101", "-1", "half"}) bad.push_back({volume, value});
  }
  for (const auto& args : bad) {
    EXPECT_FALSE(Parse(args, error)) << args[0] << " " << (args.size() > 1 ? args[1] : "");
    EXPECT_FALSE(error.empty());
  }
  EXPECT_EQ(RunGame("--no-such-option").code, 2);
  EXPECT_EQ(RunGame("--sound-volume 200").code, 2);
  EXPECT_EQ(RunGame("--help >/dev/null").code, 0);
  // A stage's levels are those of its map: stage 4 has five.
  RunResult start = RunGame("--headless --frames 1 --start 4-6");
  EXPECT_EQ(start.code, 2);
  EXPECT_EQ(start.errors, "velloria: --start: stage 4 has levels 1 to 5\n");
  EXPECT_EQ(RunGame("--headless --frames 1 --start 4-5").code, 0);
  EXPECT_EQ(RunGame("--headless --frames 1 --start 3-16").code, 0);
  auto dir = TestDir("bad-input");
  std::ofstream(dir / "bad.txt") << "# fine\n3 +SPACE\n4 +NOTAKEY\n";
  RunResult r = RunGame("--headless --frames 10 --input " + (dir / "bad.txt").string());
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.errors.find("line 3"), std::string::npos) << r.errors;
}

// --seed beside an input file's seed line: the run plays as the file would
// with the command line's seed.
TEST(Options, TheCommandLinesSeedWinsOverTheInputFilesInWhatTheRunPlays) {
  auto dir = TestDir("seed");
  auto play = [&](int fileSeed, const std::string& more) {
    std::ofstream(dir / "in.txt") << "seed " << fileSeed << "\n";
    RunGame("--headless --start 1-1 --frames 200 --input " + (dir / "in.txt").string() + more + " --stats " +
            (dir / "stats.txt").string());
    return ReadFile(dir / "stats.txt");
  };
  std::string five = play(5, "");
  EXPECT_EQ(play(3, " --seed 5"), five);
  EXPECT_NE(play(3, ""), five);
}

TEST(FramePacing, RunsAtMostOneFramePerIntervalAndNeverCatchesUp) {
  AppBlock app;
  EXPECT_TRUE(FrameDue(app, 1005));  // the first frame runs at once
  EXPECT_FALSE(FrameDue(app, 1044));
  EXPECT_EQ(MsUntilFrame(app, 1044), 1u);
  EXPECT_TRUE(FrameDue(app, 1200));   // late: not made up ...
  EXPECT_FALSE(FrameDue(app, 1239));  // ... the next is due one interval later
  EXPECT_TRUE(FrameDue(app, 1240));
  app.lastFrameTime = 0xFFFFFFF0u;  // the millisecond tick wraps
  EXPECT_FALSE(FrameDue(app, 0xFFFFFFF9u));
  EXPECT_TRUE(FrameDue(app, 0x00000018u));
}

TEST_F(Loop, PauseAndFocusStopFramesWhileTicksGoOn) {
  EXPECT_EQ(RunHeadless({}, 5), "xxxxx");
  // P toggles; regaining focus ends any pause, one made with P too.
  EXPECT_EQ(RunHeadless({{2, Kind::KeyDown, key::kP},
                         {4, Kind::KeyDown, key::kP},
                         {6, Kind::KeyDown, key::kP},
                         {7, Kind::FocusLost},
                         {8, Kind::FocusGained},
                         {10, Kind::FocusLost}},
                        12),
            "xx..xx..xx..");
  // Escape ends the run at once, from anywhere, as does the title's EXIT.
  EXPECT_EQ(RunHeadless({{3, Kind::KeyDown, key::kEscape}}, 100), "xxx");
  GetAppBlock().sceneState = scene_state::kQuit;
  EXPECT_EQ(RunHeadless({}, 100), "");  // in its first frame
}

TEST_F(Loop, PAndSAreHotKeysOnlyWhileEnabledAndSRunsFourTimesAsFast) {
  GetAppBlock().hotkeysEnabled = 0;
  EXPECT_EQ(RunHeadless({{1, Kind::KeyDown, key::kP}, {2, Kind::KeyDown, key::kS}}, 4), "xxxx");
  EXPECT_EQ(GetAppBlock().frameInterval, 40u);
  GetAppBlock().hotkeysEnabled = 1;
  RunHeadless({{1, Kind::KeyDown, key::kS}}, 3);
  EXPECT_EQ(GetAppBlock().frameInterval, 10u);
  RunHeadless({{1, Kind::KeyDown, key::kS}}, 3);
  EXPECT_EQ(GetAppBlock().frameInterval, 40u);
  // The window's title says when the game is paused or fast; the picture does not.
  host.titles.clear();
  RunHeadless({{2, Kind::KeyDown, key::kS},
               {4, Kind::KeyDown, key::kP},
               {6, Kind::KeyDown, key::kP},
               {8, Kind::KeyDown, key::kS},
               {9, Kind::FocusLost},
               {10, Kind::FocusGained}},
              12);
  EXPECT_EQ(host.titles, (std::vector<std::string>{"Velloria - Fast", "Velloria - Paused", "Velloria - Fast",
                                                   "Velloria", "Velloria - Paused", "Velloria"}));
}

TEST_F(Loop, TheTuneStopsWhilePausedAndStartsAgainAtItsEndAsTheSoundLogSays) {
  auto dir = TestDir("music-log");
  FakeMusic music;
  SetMusicDevice(&music);
  OpenSoundLog((dir / "sounds.log").string());
  SetCurrentFrame(0);
  PlayMusic("Music01.mid");
  host.events = {{4, {HostEventType::MusicFinished}},
                 {7, {HostEventType::MusicFinished}},
                 {8, {HostEventType::Quit}}};  // the window closed: the run's end closes the tune
  RunHeadless({{2, Kind::KeyDown, key::kP}, {3, Kind::KeyDown, key::kP}, {5, Kind::FocusLost}, {6, Kind::FocusGained}},
              100);
  CloseMusic();  // and names none open after it
  CloseSoundLog();
  SetMusicDevice(nullptr);
  EXPECT_EQ(ReadFile(dir / "sounds.log"),
            "0 music open Music01.mid\n0 music play Music01.mid\n2 music stop Music01.mid\n3 music resume Music01.mid\n"
            "4 music replay Music01.mid\n5 music stop Music01.mid\n6 music resume Music01.mid\n"
            "7 music replay Music01.mid\n8 music close Music01.mid\n8 music close -\n");
  EXPECT_EQ(music.calls, "close open play pause resume play pause resume play close close ");
}

TEST_F(Loop, ALiveLoopWaitsBetweenFramesAndCountsTicksWhilePaused) {
  host.endAt = 1000 + 40 * 25;  // one second
  Run({});
  EXPECT_GE(factory.updates + 1, 24);
  EXPECT_LE(factory.updates + 1, 26);
  EXPECT_LE(host.waits, 2 * 26);
  host.endAt = 0xFFFFFFFF;
  LoopConfig config;
  config.frames = 10;  // counted in ticks, so it ends the paused run
  EXPECT_EQ(Run(std::move(config), true), "..........");
}

TEST_F(Loop, ARecordingHoldsTheSeedTheEventsAndThePadWheneverItChanges) {
  ScriptedPad pad;  // read before every frame that runs
  pad.readings = {{}, {true, 0, 0, 0}, {true, 0, 0, 0}, {true, 30000, 0, 1}, {}};
  auto dir = TestDir("record");
  LoopConfig config;
  config.headless = true;
  config.frames = 6;
  config.joystick = &pad;
  OutputFile record;
  ASSERT_TRUE(record.Open((dir / "session.txt").string(), "the session is not recorded"));
  config.record = &record;
  config.seed = 4;
  config.script = {{1, Kind::KeyDown, 0x1E}, {2, Kind::KeyUp, 0x1E}, {3, Kind::FocusLost}, {4, Kind::FocusGained}};
  Run(std::move(config));
  ASSERT_TRUE(record.Close());
  EXPECT_EQ(
      ReadFile(dir / "session.txt"),
      "version " + VersionText() +
          "\n# velloria session\nseed 4\n1 +A\n1 joy 0 0 0\n2 -A\n3 focus-\n4 focus+\n4 joy 30000 0 1\n5 joy none\n");
}

// A driver's keys take a person's path: P pauses; only a driver that can
// resume is asked while paused, and the others leave the pause as it is.
TEST_F(Loop, ADriverIsAskedBeforeEveryFrameAndWhilePausedOnlyIfItResumes) {
  struct PressP : InputDriver {
    std::vector<HostEvent> Step(int64_t frame) override {
      asked.push_back(frame);
      if (frame != 2 && frame != 5) return {};
      return {{HostEventType::KeyDown, key::kP}, {HostEventType::KeyUp, key::kP}};
    }
    bool StepsWhilePaused() const override { return whilePaused; }
    bool whilePaused = false;
    std::vector<int64_t> asked;
  };
  for (bool whilePaused : {false, true}) {
    PressP driver;
    driver.whilePaused = whilePaused;
    LoopConfig config;
    config.headless = true;
    config.frames = 8;
    config.driver = &driver;
    EXPECT_EQ(Run(std::move(config)), whilePaused ? "xx...xxx" : "xx......") << whilePaused;
    std::vector<int64_t> asked = {0, 1, 2};
    if (whilePaused) asked = {0, 1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(driver.asked, asked) << whilePaused;
  }
}

TEST(ScreenshotFolder, TheDesktopsPicturesFolderElsePicturesInHomeMadeWhenMissing) {
  namespace fs = std::filesystem;
  auto home = TestDir("pictures");
  fs::create_directories(home / "config");
  std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("HOME", home.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
  ::unsetenv("XDG_PICTURES_DIR");
  // Never the current folder: ~/Pictures is made by the first F12.
  std::ofstream(home / "keys.txt") << "seed 1\n2 +F12\n3 -F12\n4 +F12\n";
  const std::string run = "--headless --frames 6 --input " + (home / "keys.txt").string() + " >/dev/null";
  EXPECT_EQ(RunGame(run).code, 0);
  EXPECT_NE(ReadFile(home / "Pictures" / "velloria-0002.png").find("PNG"), std::string::npos);
  fs::remove_all(home / "Pictures");
  fs::create_directories(home / "Pictures");
  // The desktop's own list names the folder; one that does not exist is passed over.
  std::ofstream(home / "config" / "user-dirs.dirs") << "# written by the desktop\nXDG_MUSIC_DIR=\"$HOME/Musik\"\n"
                                                    << "XDG_PICTURES_DIR=\"$HOME/Bilder\" \t\r\n";
  EXPECT_EQ(PicturesFolder(), home / "Pictures");
  fs::create_directories(home / "Bilder");
  EXPECT_EQ(PicturesFolder(), home / "Bilder");
  ::setenv("XDG_PICTURES_DIR", (home / "Pictures").c_str(), 1);
  EXPECT_EQ(PicturesFolder(), home / "Pictures");
  ::unsetenv("XDG_PICTURES_DIR");
  // F12 saves the picture there under the first free number, passing over
  // the player's files, a link to nothing too.
  std::ofstream(home / "Pictures" / "velloria-0001.png") << "mine";
  fs::create_symlink("elsewhere.png", home / "Pictures" / "velloria-0002.png");
  EXPECT_EQ(RunGame(run).code, 0);
  EXPECT_EQ(ReadFile(home / "Pictures" / "velloria-0001.png"), "mine");
  EXPECT_FALSE(fs::exists(home / "Pictures" / "elsewhere.png"));
  EXPECT_NE(ReadFile(home / "Pictures" / "velloria-0004.png").find("PNG"), std::string::npos);
  ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("HOME", oldHome.c_str(), 1);
}
