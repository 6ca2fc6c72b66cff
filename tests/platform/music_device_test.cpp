#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/options.h"
#include "platform/sdl_audio.h"
#include "platform/sdl_music.h"
#include "platform/sdl_platform.h"
#include "shell/run_settings.h"

// SDL's disk audio driver, writing nowhere as fast as it can, stands in for a
// sound card: a minute of music passes in about a second.
namespace {

class MusicDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    ASSERT_TRUE(audio.Open());
    music.Start(100);
  }
  // Whether the end of the play now running is reported within ms.
  static bool EndReported(uint32_t ms) {
    SDL_Event event;
    for (uint32_t end = SDL_GetTicks() + ms; SDL_GetTicks() < end;) {
      if (SDL_WaitEventTimeout(&event, 10) && SdlMusic::IsEndOfPlay(event)) return true;
    }
    return false;
  }
  SdlAudio audio;
  SdlMusic music;
};

}  // namespace

TEST_F(MusicDeviceTest, ARecordingPlaysPassAfterPassWithEachEndReportedAndNoneWhileStopped) {
  ASSERT_TRUE(music.Open(VELLORIA_SOURCE_DIR "/music/Music03.ogg"));
  ASSERT_TRUE(music.PlayFromStart());
  for (int pass = 1; pass <= 2; ++pass) {
    ASSERT_TRUE(EndReported(30000)) << "pass " << pass;
    EXPECT_TRUE(music.PlayFromStart());
  }
  ASSERT_TRUE(music.Pause());
  EXPECT_FALSE(EndReported(1000));
  ASSERT_TRUE(music.Resume());
  EXPECT_TRUE(EndReported(30000));
}

TEST_F(MusicDeviceTest, AFileThatIsNoTuneIsRefusedToldOnceOnStandardErrorAndNeverEndsAPlay) {
  for (const char* name : {"velloria-bad.mid", "velloria-bad.ogg"}) {
    auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path) << "not a tune";
    ::testing::internal::CaptureStderr();
    for (int time = 0; time < 2; ++time) {  // the game opens a tune anew in every scene that plays it
      EXPECT_FALSE(music.Open(path.string())) << name;
      EXPECT_FALSE(music.PlayFromStart()) << name;
    }
    std::string told = ::testing::internal::GetCapturedStderr();
    std::filesystem::remove(path);
    EXPECT_EQ(told.rfind("velloria: cannot play " + path.string() + ": ", 0), 0u) << told;
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
    EXPECT_FALSE(EndReported(500)) << name;
  }
}

// The volume options from the command line, over the player's settings, to
// what SDL_mixer was set to: the effects' chunks and the music.
TEST(PlatformOptions, TheTwoVolumeOptionsReachTheMixersTwoSides) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  const char* argv[] = {"velloria", "--window", "--music-volume", "40", "--sound-volume", "60"};
  std::string error;
  auto options = ParseOptions(6, argv, error);
  ASSERT_TRUE(options) << error;
  auto platform = CreateSdlPlatform(*options, ForThisRun(Settings{}, *options));
  PlatformServices& services = platform->Services();
  ASSERT_TRUE(services.audio && services.music);
  int voice = services.audio->CreateVoice(std::vector<uint8_t>(1000, 200));
  services.audio->Restart(voice, true);
  Mix_Chunk* chunk = Mix_GetChunk(voice);
  ASSERT_NE(chunk, nullptr);
  EXPECT_EQ(Mix_VolumeChunk(chunk, -1), MIX_MAX_VOLUME * 60 / 100);
  ASSERT_TRUE(services.music->Open(VELLORIA_SOURCE_DIR "/music/Music03.ogg"));
  EXPECT_EQ(Mix_VolumeMusic(-1), MIX_MAX_VOLUME * 40 / 100);
}
