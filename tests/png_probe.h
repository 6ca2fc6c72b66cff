#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfx/surface.h"

// Reads the game's own --shot pictures back into palette indices: 8-bit
// indexed PNGs whose IDAT holds stored deflate blocks of unfiltered rows.
// Anything else (or a broken file) gives an empty picture.
struct ShotPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;

  bool Empty() const { return pixels.empty(); }
  uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x]; }
};

inline uint32_t PngU32(const std::vector<uint8_t>& b, size_t at) {
  return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) | b[at + 3];
}

inline ShotPicture ReadShot(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ShotPicture shot;
  if (file.size() < 8) return shot;
  std::vector<uint8_t> zlib;
  for (size_t at = 8; at + 12 <= file.size();) {
    uint32_t length = PngU32(file, at);
    std::string type(file.begin() + static_cast<std::ptrdiff_t>(at + 4),
                     file.begin() + static_cast<std::ptrdiff_t>(at + 8));
    size_t body = at + 8;
    if (body + length > file.size()) return shot;
    if (type == "IHDR") {
      shot.width = static_cast<int>(PngU32(file, body));
      shot.height = static_cast<int>(PngU32(file, body + 4));
      if (file[body + 8] != 8 || file[body + 9] != 3) return shot;
    } else if (type == "IDAT") {
      zlib.insert(zlib.end(), file.begin() + static_cast<std::ptrdiff_t>(body),
                  file.begin() + static_cast<std::ptrdiff_t>(body + length));
    }
    at = body + length + 4;
  }
  std::vector<uint8_t> raw;
  size_t pos = 2;  // the zlib header
  for (bool last = false; !last && pos + 5 <= zlib.size();) {
    last = (zlib[pos] & 1) != 0;
    if ((zlib[pos] & 6) != 0) return shot;  // only stored blocks
    size_t n = zlib[pos + 1] | (size_t{zlib[pos + 2]} << 8);
    pos += 5;
    if (pos + n > zlib.size()) return shot;
    raw.insert(raw.end(), zlib.begin() + static_cast<std::ptrdiff_t>(pos),
               zlib.begin() + static_cast<std::ptrdiff_t>(pos + n));
    pos += n;
  }
  size_t stride = static_cast<size_t>(shot.width) + 1;
  if (shot.width <= 0 || raw.size() != stride * static_cast<size_t>(shot.height)) return shot;
  for (int y = 0; y < shot.height; ++y) {
    if (raw[stride * static_cast<size_t>(y)] != 0) return ShotPicture{};
    auto row = raw.begin() + static_cast<std::ptrdiff_t>(stride * static_cast<size_t>(y) + 1);
    shot.pixels.insert(shot.pixels.end(), row, row + shot.width);
  }
  return shot;
}

// Compares a picture with an expectation drawn on a surface filled with
// `unset`: every pixel of the expectation that is not `unset` must be in the
// picture. Returns how many differ; `compared` counts the pixels looked at,
// so a test can make sure its expectation drew something.
inline int CountMismatches(const ShotPicture& shot, const Surface& expected, uint8_t unset, int* compared = nullptr) {
  int differ = 0;
  int looked = 0;
  for (int y = 0; y < expected.Height() && y < shot.height; ++y) {
    for (int x = 0; x < expected.Width() && x < shot.width; ++x) {
      uint8_t want = expected.At(x, y);
      if (want == unset) continue;
      ++looked;
      if (shot.At(x, y) != want) ++differ;
    }
  }
  if (compared) *compared = looked;
  return differ;
}
