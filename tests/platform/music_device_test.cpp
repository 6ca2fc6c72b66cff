#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/sdl_audio.h"
#include "platform/sdl_music.h"

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

TEST_F(MusicDeviceTest, AFileThatIsNoTuneIsRefusedAndNeverEndsAPlay) {
  for (const char* name : {"velloria-bad.mid", "velloria-bad.ogg"}) {
    auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path) << "not a tune";
    EXPECT_FALSE(music.Open(path.string())) << name;
    EXPECT_FALSE(music.PlayFromStart()) << name;
    EXPECT_FALSE(EndReported(500)) << name;
    std::filesystem::remove(path);
  }
}
