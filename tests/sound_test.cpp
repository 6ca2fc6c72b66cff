#include <gtest/gtest.h>

#include <map>

#include "audio/audio_device.h"
#include "audio/sound_list.h"
#include "base/resources.h"
#include "tests/wave_builder.h"

namespace {

// A device that hands out numbered voices and remembers every restart.
class FakeAudio : public AudioDevice {
 public:
  int CreateVoice(const std::vector<uint8_t>& samples) override {
    if (refuse) return -1;
    voiceSizes.push_back(samples.size());
    return static_cast<int>(voiceSizes.size()) - 1;
  }
  void Restart(int voice, bool loop) override { restarts.push_back({voice, loop}); }
  void ReleaseAll() override { ++releases; }

  bool refuse = false;
  std::vector<size_t> voiceSizes;
  std::vector<std::pair<int, bool>> restarts;
  int releases = 0;
};

constexpr int kGameWaves[] = {142, 144, 143, 145, 182, 183, 184, 185, 186, 201, 202, 203, 213, 243, 245, 274, 273, 310};

// Every game wave replaced by a generated one whose length tells it apart:
// resource id + 1000 samples.
class SoundBankTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int id : kGameWaves) {
      waves[id] = WaveBuilder().Format().Chunk("data", Ramp(static_cast<size_t>(id + 1000))).Build();
      OverrideResource(ResourceType::Wave, id, waves[id]);
    }
  }
  void TearDown() override { ClearResourceOverrides(); }
  std::map<int, std::vector<uint8_t>> waves;
  FakeAudio audio;
};

}  // namespace

TEST_F(SoundBankTest, TheGameWavesFillTheSlotsInLoadOrder) {
  NSoundList bank(&audio);
  LoadGameSounds(bank);
  for (int slot = 0; slot < 18; ++slot) {
    const NSound* sound = bank.GetSound(slot);
    ASSERT_NE(sound, nullptr) << slot;
    EXPECT_EQ(sound->GetDataSize(), static_cast<uint32_t>(kGameWaves[slot] + 1000)) << slot;
    EXPECT_EQ(sound->GetCopies(), slot == 1 || slot == 2 ? 2 : 1) << slot;
  }
  // The photon charge (274) comes before the laser (273).
  EXPECT_EQ(bank.GetSound(15)->GetDataSize(), 1274u);
  EXPECT_EQ(bank.GetSound(16)->GetDataSize(), 1273u);
  EXPECT_EQ(bank.GetSound(18), nullptr);
  EXPECT_EQ(bank.GetSound(19), nullptr);
  EXPECT_EQ(bank.GetSound(20), nullptr);
  // One voice per copy, each holding the samples.
  ASSERT_EQ(audio.voiceSizes.size(), 20u);
  EXPECT_EQ(audio.voiceSizes[0], 1142u);
  EXPECT_EQ(audio.voiceSizes[1], 1144u);
  EXPECT_EQ(audio.voiceSizes[2], 1144u);
}

TEST_F(SoundBankTest, TwoCopiesTakeTurnsAndOneCopyRestartsItself) {
  NSoundList bank(&audio);
  LoadGameSounds(bank);
  // Voices: slot 0 has voice 0, slot 1 voices 1 and 2.
  bank.Play(1, 0);
  bank.Play(1, 0);
  bank.Play(1, 0);
  bank.Play(0, 0);
  bank.Play(0, 0);
  bank.Play(17, 1);
  using R = std::pair<int, bool>;
  EXPECT_EQ(audio.restarts, (std::vector<R>{{1, false}, {2, false}, {1, false}, {0, false}, {0, false}, {19, true}}));
  EXPECT_EQ(bank.GetSound(1)->GetNextCopy(), 1);
  // Only 1 asks for a loop; empty and unknown slots play nothing.
  audio.restarts.clear();
  bank.Play(3, 2);
  bank.Play(18, 0);
  bank.Play(-1, 0);
  bank.Play(20, 0);
  EXPECT_EQ(audio.restarts, (std::vector<R>{{5, false}}));  // slot 2 holds voices 3 and 4
}

TEST_F(SoundBankTest, AMissingWaveFillsNoSlotAndAMalformedOneAnEmptySound) {
  std::vector<uint8_t> broken = WaveBuilder().Format().ChunkClaiming("data", 5000, Ramp(10)).Build();
  OverrideResource(ResourceType::Wave, 182, broken);
  NSoundList bank(&audio);
  bank.LoadFromResource(9999, 1);  // no such resource
  bank.LoadFromResource(142, 1);
  bank.LoadFromResource(182, 2);
  bank.LoadFromResource(143, 1);
  // The missing wave took no slot; the malformed one keeps its slot, so the
  // sounds after it keep their numbers, but it has no samples and no voices.
  EXPECT_EQ(bank.GetSound(0)->GetDataSize(), 1142u);
  ASSERT_NE(bank.GetSound(1), nullptr);
  EXPECT_EQ(bank.GetSound(1)->GetDataSize(), 0u);
  EXPECT_EQ(bank.GetSound(2)->GetDataSize(), 1143u);
  EXPECT_EQ(bank.GetSound(3), nullptr);
  EXPECT_EQ(audio.voiceSizes, (std::vector<size_t>{1142, 1143}));
  bank.Play(1, 0);
  EXPECT_TRUE(audio.restarts.empty());
}

TEST_F(SoundBankTest, WithoutADeviceOrItsVoicesTheBankStaysSilentAndKeepsItsTurns) {
  NSoundList silent(nullptr);
  LoadGameSounds(silent);
  ASSERT_NE(silent.GetSound(17), nullptr);
  silent.Play(1, 0);
  EXPECT_EQ(silent.GetSound(1)->GetNextCopy(), 1);
  audio.refuse = true;
  {
    NSoundList refused(&audio);
    LoadGameSounds(refused);
    refused.Play(1, 0);
    refused.Play(0, 0);
    EXPECT_TRUE(audio.restarts.empty());
    EXPECT_EQ(refused.GetSound(1)->GetNextCopy(), 1);
  }
  // The bank gives the device's voices back when it goes.
  EXPECT_EQ(audio.releases, 1);
}
