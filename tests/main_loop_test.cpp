#include <gtest/gtest.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_block.h"
#include "app/frame_pacer.h"
#include "app/main_loop.h"
#include "app/picture_folder.h"
#include "app/sequencer.h"
#include "app/shutdown.h"
#include "gfx/display.h"
#include "input/input.h"
#include "input/joystick_source.h"

TEST(FramePacing, RunsAtMostOneFramePerIntervalAndNeverCatchesUp) {
  AppBlock app;
  EXPECT_TRUE(FrameDue(app, 1005));  // the first frame runs at once
  EXPECT_FALSE(FrameDue(app, 1044));
  EXPECT_EQ(MsUntilFrame(app, 1044), 1u);
  EXPECT_TRUE(FrameDue(app, 1045));
  EXPECT_TRUE(FrameDue(app, 1200));   // late: not made up ...
  EXPECT_FALSE(FrameDue(app, 1239));  // ... the next is due one interval later
  EXPECT_TRUE(FrameDue(app, 1240));
  app.frameInterval = 10;
  EXPECT_FALSE(FrameDue(app, 1249));
  EXPECT_TRUE(FrameDue(app, 1250));
  // The millisecond tick wraps; the unsigned difference is still right.
  app.lastFrameTime = 0xFFFFFFF0u;
  EXPECT_FALSE(FrameDue(app, 0xFFFFFFF9u));
  EXPECT_TRUE(FrameDue(app, 0x00000005u));
}

namespace {

// A host whose clock the test moves and whose events the test queues.
class FakeHost : public Host {
 public:
  bool PollEvent(HostEvent& e) override {
    if (events.empty()) return false;
    e = events.front();
    events.pop_front();
    return true;
  }
  void WaitEvent(int timeoutMs) override {
    ++waits;
    // Time passes while the loop waits; a blocking wait ends the test run.
    if (timeoutMs < 0) {
      Shutdown(nullptr);
      return;
    }
    now += static_cast<uint32_t>(timeoutMs);
    if (now >= endAt) Shutdown(nullptr);
  }
  uint32_t NowMs() override { return now; }
  void ShowCursor(bool) override {}
  void HideWindow() override {}
  void ShowMessage(const char*, const char* text) override { messages.push_back(text); }
  void SetTitle(const char* title) override { titles.push_back(title); }

  std::deque<HostEvent> events;
  std::vector<std::string> titles;
  uint32_t now = 1000;
  uint32_t endAt = 0xFFFFFFFF;
  int waits = 0;
  std::vector<std::string> messages;
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

class MainLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAppBlock();
    ResetShutdown();
    CreateDisplay(nullptr);
    SetDisplayMode();
    InitInput();
    SetShutdownTargets(&host, &sequencer);
  }
  void TearDown() override {
    SetShutdownTargets(nullptr, nullptr);
    ResetShutdown();
  }
  int RunHeadless(std::vector<ScriptedEvent> script, int64_t frames) {
    LoopConfig config;
    config.headless = true;
    config.frames = frames;
    config.script = std::move(script);
    MainLoop loop(host, sequencer, std::move(config));
    std::vector<bool> ran;
    loop.OnTick([&](int64_t, bool r) { ranTicks.push_back(r); });
    return loop.Run();
  }
  FakeHost host;
  CountingFactory factory;
  Sequencer sequencer{factory};
  std::vector<bool> ranTicks;
};

using Kind = ScriptedEvent::Kind;

}  // namespace

TEST_F(MainLoopTest, HeadlessRunsOneFramePerTickAndEndsAfterTheFrameLimit) {
  EXPECT_EQ(RunHeadless({}, 100), 0);
  EXPECT_EQ(ranTicks.size(), 100u);
  // Frame 0 builds the logo, the other 99 update it.
  EXPECT_EQ(factory.updates, 99);
  EXPECT_TRUE(IsQuitRequested());
}

TEST_F(MainLoopTest, PauseKeyStopsFramesWhileTicksGoOnAndToggleResumes) {
  RunHeadless({{10, Kind::KeyDown, 0x19}, {11, Kind::KeyUp, 0x19}, {30, Kind::KeyDown, 0x19}}, 50);
  ASSERT_EQ(ranTicks.size(), 50u);
  for (size_t t = 0; t < 50; ++t) EXPECT_EQ(ranTicks[t], t < 10 || t >= 30) << "tick " << t;
}

TEST_F(MainLoopTest, FocusLossPausesAndRegainingFocusEndsEvenAPausePressedByKey) {
  RunHeadless({{5, Kind::KeyDown, 0x19}, {8, Kind::FocusLost}, {12, Kind::FocusGained}}, 20);
  for (size_t t = 0; t < 20; ++t) EXPECT_EQ(ranTicks[t], t < 5 || t >= 12) << "tick " << t;
}

TEST_F(MainLoopTest, HotkeysActOnlyWhileEnabled) {
  GetAppBlock().hotkeysEnabled = 0;
  RunHeadless({{2, Kind::KeyDown, 0x19}, {3, Kind::KeyDown, 0x1F}}, 10);
  EXPECT_EQ(GetAppBlock().frameInterval, 40u);
  for (bool r : ranTicks) EXPECT_TRUE(r);
  ResetShutdown();
  ranTicks.clear();
  GetAppBlock().hotkeysEnabled = 1;
  RunHeadless({{2, Kind::KeyDown, 0x1F}}, 4);
  EXPECT_EQ(GetAppBlock().frameInterval, 10u);
}

TEST_F(MainLoopTest, TheCaptionShowsPauseAndFastMode) {
  RunHeadless({{2, Kind::KeyDown, 0x1F},
               {4, Kind::KeyDown, 0x19},
               {6, Kind::KeyDown, 0x19},
               {8, Kind::KeyDown, 0x1F},
               {9, Kind::FocusLost},
               {10, Kind::FocusGained}},
              12);
  EXPECT_EQ(host.titles, (std::vector<std::string>{"Velloria - Fast", "Velloria - Paused", "Velloria - Fast",
                                                   "Velloria", "Velloria - Paused", "Velloria"}));
}

TEST_F(MainLoopTest, EscapeEndsTheRunAtOnce) {
  RunHeadless({{3, Kind::KeyDown, 0x01}}, 100);
  EXPECT_EQ(ranTicks.size(), 3u);
  EXPECT_EQ(GetBackSurface(), nullptr);
}

TEST_F(MainLoopTest, PausedHeadlessRunWithNothingLeftToReplayEnds) {
  LoopConfig config;
  config.headless = true;
  config.script = {{4, Kind::FocusLost}};
  MainLoop loop(host, sequencer, std::move(config));
  EXPECT_EQ(loop.Run(), 0);
  EXPECT_TRUE(IsQuitRequested());
}

TEST_F(MainLoopTest, LiveLoopWaitsBetweenFramesInsteadOfSpinning) {
  host.endAt = 1000 + 40 * 25;  // one second of the fake clock
  LoopConfig config;
  MainLoop loop(host, sequencer, std::move(config));
  loop.Run();
  // 25 frames a second, and only a wait or two between them.
  EXPECT_GE(factory.updates + 1, 24);
  EXPECT_LE(factory.updates + 1, 26);
  EXPECT_LE(host.waits, 2 * 26);
}

TEST_F(MainLoopTest, LiveLoopCountsTicksWhilePaused) {
  host.endAt = 1000 + 40 * 20;
  GetAppBlock().paused = 1;
  LoopConfig config;
  config.frames = 10;  // counted in ticks, so it ends the paused run
  MainLoop loop(host, sequencer, std::move(config));
  std::vector<bool> ran;
  loop.OnTick([&](int64_t, bool r) { ran.push_back(r); });
  loop.Run();
  EXPECT_EQ(ran.size(), 10u);
  for (bool r : ran) EXPECT_FALSE(r);
  EXPECT_EQ(factory.updates, 0);
}

namespace {

// A pad the test moves: one reading per frame from a list.
class ScriptedPad : public JoystickSource {
 public:
  JoystickReading Read() override {
    JoystickReading r = frame < readings.size() ? readings[frame] : readings.back();
    ++frame;
    return r;
  }
  std::vector<JoystickReading> readings;
  size_t frame = 0;
};

}  // namespace

TEST_F(MainLoopTest, TheLivePadIsReadBeforeEachFrameAndRecordedWhenItChanges) {
  ScriptedPad pad;
  pad.readings = {{}, {true, 0, 0, 0}, {true, 0, 0, 0}, {true, 30000, 0, 1}, {}, {}};
  auto dir = std::filesystem::temp_directory_path() / ("velloria-pad-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  LoopConfig config;
  config.headless = true;
  config.frames = 6;
  config.joystick = &pad;
  config.recordFile = (dir / "pad.txt").string();
  std::vector<int> horizontal;
  {
    MainLoop loop(host, sequencer, std::move(config));
    loop.OnTick([&](int64_t, bool) {
      UpdateInput();
      horizontal.push_back(GetJoyHorizontal());
    });
    loop.Run();
  }
  EXPECT_EQ(pad.frame, 6u);
  EXPECT_EQ(horizontal, (std::vector<int>{-1, -1, -1, 0, -1, -1}));
  std::ifstream in(dir / "pad.txt");
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "# velloria session\nseed 0\n1 joy 0 0 0\n3 joy 30000 0 1\n4 joy none\n");
  std::filesystem::remove_all(dir);
}

TEST(ScreenshotFolder, TheDesktopsPicturesFolderElsePicturesInHomeElseHere) {
  namespace fs = std::filesystem;
  auto home = fs::temp_directory_path() / ("velloria-pictures-" + std::to_string(::getpid()));
  fs::remove_all(home);
  fs::create_directories(home / "config");
  std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("HOME", home.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
  ::unsetenv("XDG_PICTURES_DIR");
  EXPECT_EQ(PicturesFolder(), ".");
  fs::create_directories(home / "Pictures");
  EXPECT_EQ(PicturesFolder(), home / "Pictures");
  // The desktop's own list names the folder; one that does not exist is passed over.
  std::ofstream(home / "config" / "user-dirs.dirs") << "# written by the desktop\nXDG_MUSIC_DIR=\"$HOME/Musik\"\n"
                                                    << "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
  EXPECT_EQ(PicturesFolder(), home / "Pictures");
  fs::create_directories(home / "Bilder");
  EXPECT_EQ(PicturesFolder(), home / "Bilder");
  ::setenv("XDG_PICTURES_DIR", (home / "Pictures").c_str(), 1);
  EXPECT_EQ(PicturesFolder(), home / "Pictures");
  ::unsetenv("XDG_PICTURES_DIR");
  ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("HOME", oldHome.c_str(), 1);
  fs::remove_all(home);
}
