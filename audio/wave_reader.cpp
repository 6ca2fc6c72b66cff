#include "audio/wave_reader.h"

namespace {

constexpr uint64_t kRiffHeaderSize = 12;
constexpr uint64_t kChunkHeaderSize = 8;

uint32_t ReadU32(std::span<const uint8_t> b, uint64_t at) {
  auto i = static_cast<size_t>(at);
  return static_cast<uint32_t>(b[i]) | static_cast<uint32_t>(b[i + 1]) << 8 | static_cast<uint32_t>(b[i + 2]) << 16 |
         static_cast<uint32_t>(b[i + 3]) << 24;
}

bool IdIs(std::span<const uint8_t> b, uint64_t at, const char* id) {
  auto i = static_cast<size_t>(at);
  return b[i] == id[0] && b[i + 1] == id[1] && b[i + 2] == id[2] && b[i + 3] == id[3];
}

}  // namespace

std::vector<uint8_t> ReadWaveSamples(std::span<const uint8_t> riff) {
  if (riff.size() < kRiffHeaderSize || !IdIs(riff, 0, "RIFF") || !IdIs(riff, 8, "WAVE")) return {};
  // The chunks end where the RIFF size says; a size that claims more bytes
  // than there are marks a cut-off file. 64-bit sums cannot wrap.
  uint64_t end = uint64_t{8} + ReadU32(riff, 4);
  if (end > riff.size()) return {};
  bool haveFormat = false;
  bool haveData = false;
  uint64_t dataAt = 0;
  uint64_t dataSize = 0;
  uint64_t at = kRiffHeaderSize;
  while (at + kChunkHeaderSize <= end && !(haveFormat && haveData)) {
    uint64_t size = ReadU32(riff, at + 4);
    uint64_t body = at + kChunkHeaderSize;
    if (body + size > end) return {};
    if (!haveFormat && IdIs(riff, at, "fmt ")) haveFormat = true;
    if (!haveData && IdIs(riff, at, "data")) {
      haveData = true;
      dataAt = body;
      dataSize = size;
    }
    // Chunks start on even offsets: an odd-sized body is followed by a pad byte.
    at = body + size + (size & 1);
  }
  if (!haveData) return {};
  auto first = riff.begin() + static_cast<std::ptrdiff_t>(dataAt);
  return std::vector<uint8_t>(first, first + static_cast<std::ptrdiff_t>(dataSize));
}
