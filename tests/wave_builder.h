#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds RIFF WAVE files chunk by chunk for the loader tests, broken ones
// included.
class WaveBuilder {
 public:
  WaveBuilder& Chunk(const std::string& id, const std::vector<uint8_t>& body, bool pad = true) {
    Append(id);
    U32(static_cast<uint32_t>(body.size()));
    bytes_.insert(bytes_.end(), body.begin(), body.end());
    if (pad && body.size() % 2 == 1) bytes_.push_back(0);
    return *this;
  }
  // A chunk header whose size claims more (or less) than the body given.
  WaveBuilder& ChunkClaiming(const std::string& id, uint32_t size, const std::vector<uint8_t>& body) {
    Append(id);
    U32(size);
    bytes_.insert(bytes_.end(), body.begin(), body.end());
    return *this;
  }
  WaveBuilder& Format() {
    // PCM, one channel, 22050 Hz, 22050 bytes a second, blocks of 1, 8 bits.
    return Chunk("fmt ", {1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x22, 0x56, 0, 0, 1, 0, 8, 0});
  }
  // The whole file; riffSizeDelta bends the RIFF size away from the truth.
  std::vector<uint8_t> Build(int64_t riffSizeDelta = 0) const {
    std::vector<uint8_t> out{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    out.insert(out.end(), bytes_.begin(), bytes_.end());
    auto size = static_cast<uint32_t>(static_cast<int64_t>(out.size()) - 8 + riffSizeDelta);
    for (int i = 0; i < 4; ++i) out[4 + static_cast<size_t>(i)] = static_cast<uint8_t>(size >> (8 * i));
    return out;
  }

 private:
  void Append(const std::string& id) { bytes_.insert(bytes_.end(), id.begin(), id.end()); }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  std::vector<uint8_t> bytes_;
};

// n samples counting up from first, a pattern a test can recognise.
inline std::vector<uint8_t> Ramp(size_t n, uint8_t first = 0) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(first + i);
  return v;
}
