#include <gtest/gtest.h>

#include <map>

#include "app/app_block.h"
#include "app/application.h"
#include "app/headless_host.h"
#include "app/scene.h"
#include "audio/music.h"
#include "audio/sound_list.h"
#include "base/resources.h"
#include "tests/run_helpers.h"
#include "tests/wave_builder.h"

TEST(SoundLogRun, AHeadlessRunLogsTheMusicCommandsOfPausingInTheirFrames) {
  auto dir = TestDir("soundlog-run");
  std::ofstream(dir / "in.txt") << "5 focus-\n9 focus+\n12 +P\n13 -P\n15 +P\n";
  RunResult r = RunGame("--headless --frames 20 --input " + (dir / "in.txt").string() + " --sound-log " +
                        (dir / "sounds.txt").string());
  ASSERT_EQ(r.code, 0) << r.errors;
  EXPECT_EQ(ReadFile(dir / "sounds.txt"),
            "5 music stop -\n9 music resume -\n10 play 17\n12 music stop -\n15 music resume -\n20 music close -\n");
  std::filesystem::remove_all(dir);
}

namespace {

// A logo scene that starts a tune and plays a few effects on set frames.
class NoisyScene : public Scene {
 public:
  void Start() override { PlayMusic("Music03.mid"); }
  void Update() override {
    ++frame_;
    if (frame_ == 3) GetSoundList()->Play(1, 0);
    if (frame_ == 4) {
      GetSoundList()->Play(18, 0);  // an empty slot
      GetSoundList()->Play(16, 0);  // a wave without samples
    }
    if (frame_ == 6) {
      GetSoundList()->Play(17, 0);
      GetSoundList()->Play(1, 0);
    }
    if (frame_ == 8) PlayMusic("Music01.mid");
  }

 private:
  int frame_ = 0;
};

class NoisyFactory : public SceneFactory {
 public:
  std::unique_ptr<Scene> Make(SceneKind kind) override {
    return kind == SceneKind::Logo ? std::make_unique<NoisyScene>() : nullptr;
  }
  std::unique_ptr<Scene> MakeGame(int, int, int) override { return nullptr; }
};

}  // namespace

TEST(SoundLogRun, AMutedOrHeadlessGameLogsWhatItWouldPlay) {
  std::map<int, std::vector<uint8_t>> waves;
  for (int id : {142, 144, 143, 145, 182, 183, 184, 185, 186, 201, 202, 203, 213, 243, 245, 274, 273, 310}) {
    waves[id] = id == 273 ? WaveBuilder().Format().Build() : WaveBuilder().Format().Chunk("data", Ramp(300)).Build();
    OverrideResource(ResourceType::Wave, id, waves[id]);
  }
  auto dir = TestDir("soundlog-scene");
  Options options;
  options.headless = true;
  options.frames = 10;
  options.soundLog = (dir / "sounds.txt").string();
  HeadlessHost host;
  PlatformServices services;
  services.host = &host;
  NoisyFactory scenes;
  EXPECT_EQ(RunApplication(options, services, scenes), 0);
  ClearResourceOverrides();
  EXPECT_EQ(ReadFile(dir / "sounds.txt"),
            "0 music open Music03.mid\n0 music play Music03.mid\n3 play 1\n6 play 17\n6 play 1\n"
            "8 music open Music01.mid\n8 music play Music01.mid\n10 music close Music01.mid\n");
  std::filesystem::remove_all(dir);
}
