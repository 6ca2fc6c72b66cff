#include "audio/sound_list.h"

#include "audio/audio_device.h"
#include "audio/sound_log.h"
#include "audio/wave_reader.h"
#include "base/resources.h"

NSound::NSound(AudioDevice* device, std::vector<uint8_t> samples, int copies)
    : device_(device), data_(std::move(samples)), copies_(copies < 1 ? 1 : copies) {
  if (!device_ || data_.empty()) return;
  for (int i = 0; i < copies_; ++i) voices_.push_back(device_->CreateVoice(data_));
}

void NSound::Play(bool loop) {
  if (data_.empty()) return;
  // A copy still sounding is cut off and started again from the beginning.
  if (!voices_.empty() && voices_[static_cast<size_t>(nextCopy_)] >= 0) {
    device_->Restart(voices_[static_cast<size_t>(nextCopy_)], loop);
  }
  nextCopy_ = (nextCopy_ + 1) % copies_;
}

NSoundList::NSoundList(AudioDevice* device) : device_(device) {}

NSoundList::~NSoundList() {
  for (auto& s : sounds_) s.reset();
  if (device_) device_->ReleaseAll();
}

void NSoundList::LoadFromResource(int id, int copies) {
  for (auto& slot : sounds_) {
    if (slot) continue;
    std::span<const uint8_t> bytes = FindResource(ResourceType::Wave, id);
    if (bytes.empty()) return;
    slot = std::make_unique<NSound>(device_, ReadWaveSamples(bytes), copies);
    return;
  }
}

void NSoundList::Play(int index, int loop) {
  if (index < 0 || index >= kSlots) return;
  NSound* sound = sounds_[static_cast<size_t>(index)].get();
  if (!sound || sound->GetDataSize() == 0) return;
  // Logged before the device is asked, so a silent game logs the same.
  LogEffect(index);
  sound->Play(loop == 1);
}

void NSoundList::Preview(int index) {
  if (index < 0 || index >= kSlots || !sounds_[static_cast<size_t>(index)]) return;
  sounds_[static_cast<size_t>(index)]->Play(false);
}

const NSound* NSoundList::GetSound(int index) const {
  if (index < 0 || index >= kSlots) return nullptr;
  return sounds_[static_cast<size_t>(index)].get();
}
