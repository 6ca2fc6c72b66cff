#include "app/picture_log.h"

#include <cstdio>
#include <cstring>

#include "gfx/display.h"

uint32_t PictureDigest(const Surface& surface) {
  // Four independent lanes of word-wide FNV-1a, so that a digest per frame
  // costs little next to the frame itself.
  constexpr uint64_t kPrime = 0x100000001B3ull;
  uint64_t lanes[4] = {0xCBF29CE484222325ull, 1, 2, 3};
  for (int y = 0; y < surface.Height(); ++y) {
    const uint8_t* row = surface.Row(y);
    int x = 0;
    for (; x + 32 <= surface.Width(); x += 32) {
      for (int k = 0; k < 4; ++k) {
        uint64_t word = 0;
        std::memcpy(&word, row + x + 8 * k, sizeof word);
        lanes[k] = (lanes[k] ^ word) * kPrime;
      }
    }
    for (; x < surface.Width(); ++x) lanes[0] = (lanes[0] ^ row[x]) * kPrime;
  }
  uint64_t hash = lanes[0];
  for (int k = 1; k < 4; ++k) hash = (hash ^ lanes[k]) * kPrime;
  return static_cast<uint32_t>(hash ^ (hash >> 32));
}

bool PictureLog::Open(const std::string& path) { return out_.Open(path, "no pictures are logged"); }

void PictureLog::Write(int64_t frame, bool ran) {
  if (!out_.IsOpen()) return;
  const Surface* back = GetBackSurface();
  if (ran && back) last_ = PictureDigest(*back);
  char line[40];
  std::snprintf(line, sizeof line, "%lld %08x\n", static_cast<long long>(frame), last_);
  out_.Write(line);
}
