#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/app_block.h"
#include "app/frame_clock.h"
#include "app/headless_host.h"
#include "app/main_loop.h"
#include "app/sequencer.h"
#include "app/shutdown.h"
#include "audio/music.h"
#include "audio/sound_log.h"
#include "base/nstring.h"
#include "input/input.h"
#include "tests/run_helpers.h"

namespace {

// A music device that writes down the commands it gets.
class FakeMusic : public MusicDevice {
 public:
  bool Open(const std::string& path) override {
    calls.push_back("open " + path);
    return openWorks && path != refused;
  }
  bool PlayFromStart() override { return Note("from-start"); }
  bool Pause() override { return Note("pause"); }
  bool Resume() override { return Note("resume"); }
  void Close() override { calls.push_back("close"); }

  bool Note(const char* what) {
    calls.push_back(what);
    return true;
  }
  std::vector<std::string> calls;
  bool openWorks = true;
  std::string refused;
};

class MusicTest : public ::testing::Test {
 protected:
  void SetUp() override { SetMusicDevice(&music); }
  void TearDown() override {
    CloseMusic();
    SetMusicDevice(nullptr);
    CloseSoundLog();
    SetCurrentFrame(0);
  }
  std::string Beside(const char* name) { return NString::GetProgramDirectory().Str() + name; }
  FakeMusic music;
};

using Calls = std::vector<std::string>;

}  // namespace

TEST_F(MusicTest, PlayOpensTheTuneBesideTheProgramAfterClosingAndStartsIt) {
  EXPECT_EQ(PlayMusic("Music03.mid"), 1);
  EXPECT_EQ(music.calls, (Calls{"close", "open " + Beside("Music03.mid"), "from-start"}));
  music.calls.clear();
  EXPECT_EQ(PlayMusic(nullptr), 0);
  EXPECT_EQ(PlayMusic(""), 0);
  EXPECT_TRUE(music.calls.empty());
  // A tune that cannot be opened is not played, and nothing else happens.
  music.openWorks = false;
  EXPECT_EQ(PlayMusic("Missing.mid"), 0);
  EXPECT_EQ(music.calls, (Calls{"close", "open " + Beside("Missing.mid")}));
}

TEST_F(MusicTest, ARecordingBesideTheMidiFilePlaysInItsPlaceElseTheMidiFile) {
  std::string recording = Beside("Probe.ogg");
  std::ofstream(recording) << "recorded";
  PlayMusic("Probe.mid");
  EXPECT_EQ(music.calls, (Calls{"close", "open " + recording, "from-start"}));
  music.calls.clear();
  music.refused = recording;  // a damaged recording
  PlayMusic("Probe.mid");
  EXPECT_EQ(music.calls, (Calls{"close", "open " + recording, "open " + Beside("Probe.mid"), "from-start"}));
  music.calls.clear();
  std::filesystem::remove(recording);
  PlayMusic("Probe.mid");
  EXPECT_EQ(music.calls, (Calls{"close", "open " + Beside("Probe.mid"), "from-start"}));
}

TEST_F(MusicTest, StopKeepsThePositionResumeContinuesAndOnlyTheEndOfAPlayReplays) {
  PlayMusic("Music01.mid");
  music.calls.clear();
  StopMusic();
  ResumeMusic();
  ReplayMusic();
  CloseMusic();
  // Stopping pauses rather than closing or rewinding; resuming does not rewind.
  EXPECT_EQ(music.calls, (Calls{"pause", "resume", "from-start", "close"}));
}

TEST_F(MusicTest, PausingTheGameStopsTheTuneAndResumingContinuesIt) {
  InitInput();
  PlayMusic("Music01.mid");
  music.calls.clear();
  GetAppBlock().paused = 1;
  ApplyPause();
  GetAppBlock().paused = 0;
  ApplyPause();
  EXPECT_EQ(music.calls, (Calls{"pause", "resume"}));
  ReleaseInput();
}

TEST_F(MusicTest, TheSoundLogNamesEveryCommandAndTheOpenTuneWithOrWithoutADevice) {
  auto dir = TestDir("soundlog-music");
  for (bool withDevice : {true, false}) {
    SetMusicDevice(withDevice ? &music : nullptr);
    auto path = dir / (withDevice ? "live.txt" : "silent.txt");
    ASSERT_TRUE(OpenSoundLog(path.string()));
    SetCurrentFrame(3);
    PlayMusic("Music03.mid");
    SetCurrentFrame(40);
    StopMusic();
    SetCurrentFrame(41);
    ResumeMusic();
    ReplayMusic();
    CloseMusic();
    SetCurrentFrame(50);
    StopMusic();
    CloseSoundLog();
    EXPECT_EQ(ReadFile(path),
              "3 music open Music03.mid\n3 music play Music03.mid\n40 music stop Music03.mid\n"
              "41 music resume Music03.mid\n41 music replay Music03.mid\n41 music close Music03.mid\n"
              "50 music stop -\n")
        << (withDevice ? "with a device" : "without");
  }
  std::filesystem::remove_all(dir);
}

namespace {

// A window that reports the end of a tune's play once, then nothing.
class TuneEndingHost : public HeadlessHost {
 public:
  bool PollEvent(HostEvent& event) override {
    if (ended) return false;
    ended = true;
    event = {HostEventType::MusicFinished};
    return true;
  }
  bool ended = false;
};

class NoScenes : public SceneFactory {
 public:
  std::unique_ptr<Scene> Make(SceneKind) override { return nullptr; }
  std::unique_ptr<Scene> MakeGame(int, int, int) override { return nullptr; }
};

}  // namespace

TEST_F(MusicTest, TheEndOfAPlayStartsTheTuneAgainFromTheBeginning) {
  ResetAppBlock();
  ResetShutdown();
  PlayMusic("Music01.mid");
  music.calls.clear();
  TuneEndingHost host;
  NoScenes scenes;
  Sequencer sequencer(scenes);
  SetShutdownTargets(&host, &sequencer);
  LoopConfig config;
  config.headless = true;
  config.frames = 2;
  MainLoop(host, sequencer, std::move(config)).Run();
  // The replay, then Shutdown's close at the end of the run.
  EXPECT_EQ(music.calls, (Calls{"from-start", "close"}));
  SetShutdownTargets(nullptr, nullptr);
  ResetShutdown();
}
