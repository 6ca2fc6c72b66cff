#pragma once

#include <map>
#include <memory>
#include <vector>

#include "app/app_block.h"
#include "audio/audio_device.h"
#include "audio/sound_list.h"

// Installs a sound bank with the game's effects on a device that only
// writes down which slots were played.
class SoundSpy : public AudioDevice {
 public:
  SoundSpy() {
    auto bank = std::make_unique<NSoundList>(this);
    const int ids[18] = {142, 144, 143, 145, 182, 183, 184, 185, 186, 201, 202, 203, 213, 243, 245, 274, 273, 310};
    for (int slot = 0; slot < 18; ++slot) {
      loadingSlot_ = slot;
      bank->LoadFromResource(ids[slot], slot == 1 || slot == 2 ? 2 : 1);
    }
    GetAppBlock().soundList = std::move(bank);
  }
  ~SoundSpy() override { GetAppBlock().soundList.reset(); }

  int CreateVoice(const std::vector<uint8_t>&) override {
    slotOfVoice_[next_] = loadingSlot_;
    return next_++;
  }
  void Restart(int voice, bool) override { played.push_back(slotOfVoice_[voice]); }
  void ReleaseAll() override {}

  int Count(int slot) const {
    int n = 0;
    for (int s : played) n += s == slot;
    return n;
  }

  std::vector<int> played;

 private:
  std::map<int, int> slotOfVoice_;
  int next_ = 0;
  int loadingSlot_ = 0;
};
