#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class AudioDevice;

// One loaded effect: its samples and one or two copies, used round-robin so
// that an effect with two copies can sound twice at once while one with a
// single copy restarts itself. Without a device the copies exist only as a
// count, so the turn-taking is the same in a silent game.
class NSound {
 public:
  NSound(AudioDevice* device, std::vector<uint8_t> samples, int copies);
  virtual ~NSound() = default;
  void Play(bool loop);
  int GetCopies() const { return copies_; }
  uint32_t GetDataSize() const { return static_cast<uint32_t>(data_.size()); }

 private:
  AudioDevice* device_;
  std::vector<uint8_t> data_;
  int copies_;
  std::vector<int> voices_;  // one device voice per copy, -1 when refused
  int nextCopy_ = 0;
};

// The sound bank: 20 slots filled in load order, played by slot number.
// Without an audio device the effects are still loaded and their plays
// logged, but nothing sounds and the game runs on the same.
class NSoundList {
 public:
  static constexpr int kSlots = 20;
  explicit NSoundList(AudioDevice* device);
  virtual ~NSoundList();

  // Loads a wave resource into the first empty slot. A missing resource fills
  // no slot; a malformed one fills its slot with a sound that plays nothing,
  // so the slots after it keep their numbers.
  void LoadFromResource(int id, int copies);
  // Plays slot index once (loop 1: endlessly). Empty slots play nothing.
  void Play(int index, int loop);
  // Plays it once for the player to hear its level (the options): no sound
  // of the game, so the sound log leaves it out.
  void Preview(int index);
  const NSound* GetSound(int index) const;

 private:
  AudioDevice* device_;
  std::array<std::unique_ptr<NSound>, kSlots> sounds_;
};
