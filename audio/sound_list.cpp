#include "audio/sound_list.h"

#include "audio/audio_device.h"
#include "base/resources.h"

NSound::NSound(AudioDevice* device, std::vector<uint8_t> samples, int copies)
    : device_(device), data_(std::move(samples)) {
  for (int i = 0; i < copies; ++i) voices_.push_back(device_->CreateVoice(data_));
}

void NSound::Play(bool loop) {
  if (voices_.empty()) return;
  int voice = voices_[static_cast<size_t>(nextCopy_)];
  if (voice >= 0) device_->Restart(voice, loop);
  nextCopy_ = (nextCopy_ + 1) % static_cast<int>(voices_.size());
}

NSoundList::NSoundList(AudioDevice* device) : device_(device) {}

NSoundList::~NSoundList() {
  for (auto& s : sounds_) s.reset();
  if (device_) device_->ReleaseAll();
}

void NSoundList::LoadFromResource(int id, int copies) {
  if (!device_) return;
  for (auto& slot : sounds_) {
    if (slot) continue;
    std::span<const uint8_t> bytes = FindResource(ResourceType::Wave, id);
    if (bytes.data() == nullptr) return;
    slot = std::make_unique<NSound>(device_, ReadWaveSamples(bytes), copies);
    return;
  }
}

void NSoundList::Play(int index, int loop) {
  if (!device_ || index < 0 || index >= kSlots || !sounds_[static_cast<size_t>(index)]) return;
  sounds_[static_cast<size_t>(index)]->Play(loop == 1);
}

const NSound* NSoundList::GetSound(int index) const {
  if (index < 0 || index >= kSlots) return nullptr;
  return sounds_[static_cast<size_t>(index)].get();
}

namespace {

uint32_t ReadU32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
         static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

bool IdIs(std::span<const uint8_t> b, size_t at, const char* id) {
  return b[at] == id[0] && b[at + 1] == id[1] && b[at + 2] == id[2] && b[at + 3] == id[3];
}

}  // namespace

std::vector<uint8_t> ReadWaveSamples(std::span<const uint8_t> riff) {
  if (riff.size() < 12 || !IdIs(riff, 0, "RIFF") || !IdIs(riff, 8, "WAVE")) return {};
  // The walk ends at the RIFF size or the end of the data, whichever is first.
  uint64_t end = std::min<uint64_t>(uint64_t{8} + ReadU32(riff, 4), riff.size());
  uint64_t at = 12;
  while (at + 8 <= end) {
    uint32_t size = ReadU32(riff, static_cast<size_t>(at + 4));
    uint64_t body = at + 8;
    if (body + size > end) return {};
    if (IdIs(riff, static_cast<size_t>(at), "data")) {
      return std::vector<uint8_t>(riff.begin() + static_cast<std::ptrdiff_t>(body),
                                  riff.begin() + static_cast<std::ptrdiff_t>(body + size));
    }
    at = body + size + (size & 1);
  }
  return {};
}

void LoadGameSounds(NSoundList& bank) {
  // The order gives the slot numbers every caller plays by.
  bank.LoadFromResource(142, 1);
  bank.LoadFromResource(144, 2);
  bank.LoadFromResource(143, 2);
  for (int id : {145, 182, 183, 184, 185, 186, 201, 202, 203, 213, 243, 245, 274, 273, 310}) {
    bank.LoadFromResource(id, 1);
  }
}
