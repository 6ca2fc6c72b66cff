#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class AudioDevice;

// One loaded effect: its samples and one or two voices, used round-robin so
// that an effect with two copies can sound twice at once.
class NSound {
 public:
  NSound(AudioDevice* device, std::vector<uint8_t> samples, int copies);
  virtual ~NSound() = default;
  void Play(bool loop);
  int GetCopies() const { return static_cast<int>(voices_.size()); }
  int GetNextCopy() const { return nextCopy_; }
  uint32_t GetDataSize() const { return static_cast<uint32_t>(data_.size()); }

 private:
  AudioDevice* device_;
  std::vector<uint8_t> data_;
  std::vector<int> voices_;
  int nextCopy_ = 0;
};

// The sound bank: 20 slots filled in load order, played by slot number.
// Without an audio device nothing is loaded or played and the game runs on.
class NSoundList {
 public:
  static constexpr int kSlots = 20;
  explicit NSoundList(AudioDevice* device);
  virtual ~NSoundList();

  void LoadFromResource(int id, int copies);
  void Play(int index, int loop);
  const NSound* GetSound(int index) const;

 private:
  AudioDevice* device_;
  std::array<std::unique_ptr<NSound>, kSlots> sounds_;
};

// The samples of a RIFF WAVE file's data chunk; empty when the file is
// malformed. Every chunk size is checked against the data.
std::vector<uint8_t> ReadWaveSamples(std::span<const uint8_t> riff);

// Loads the game's 18 effects in their fixed order.
void LoadGameSounds(NSoundList& bank);
