#pragma once

#include <cstdint>
#include <vector>

#include "gfx/surface.h"

// Builds a small packed 8-bit bitmap as the loaders find it among the
// resources: a 40-byte info header, a 256-entry colour table (a grey ramp,
// entry i = (i, i, i)) and the pixel rows bottom-up, each padded to four
// bytes. `topDown` holds width * height palette indices, top row first.
inline std::vector<uint8_t> PackedBitmap(int width, int height, const std::vector<uint8_t>& topDown) {
  auto put32 = [](std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
  };
  size_t stride = (static_cast<size_t>(width) + 3) & ~size_t{3};
  std::vector<uint8_t> b(40 + 1024 + stride * static_cast<size_t>(height), 0);
  put32(b, 0, 40);
  put32(b, 4, static_cast<uint32_t>(width));
  put32(b, 8, static_cast<uint32_t>(height));
  b[12] = 1;  // planes
  b[14] = 8;  // bits per pixel
  put32(b, 20, static_cast<uint32_t>(stride * static_cast<size_t>(height)));
  put32(b, 32, 256);
  for (size_t i = 0; i < 256; ++i) {
    b[40 + i * 4] = b[40 + i * 4 + 1] = b[40 + i * 4 + 2] = static_cast<uint8_t>(i);
  }
  for (int r = 0; r < height; ++r) {
    size_t row = 40 + 1024 + stride * static_cast<size_t>(height - 1 - r);
    for (int c = 0; c < width; ++c) {
      b[row + static_cast<size_t>(c)] = topDown[static_cast<size_t>(r * width + c)];
    }
  }
  return b;
}

// A strip of `frames` frames of w x h, each filled with colour (first + f)
// except its top-left pixel, which holds `key` (the colour key).
inline std::vector<uint8_t> SolidFrames(int w, int h, int frames, uint8_t key, uint8_t first) {
  std::vector<uint8_t> pixels(static_cast<size_t>(w * h * frames));
  for (int f = 0; f < frames; ++f) {
    for (int i = 0; i < w * h; ++i) pixels[static_cast<size_t>(f * w * h + i)] = static_cast<uint8_t>(first + f);
  }
  pixels[0] = key;
  return pixels;
}

// Reads a row of n glyph cells of w x h starting at (x, y): each entry is
// the cell's colour minus `first` (for strips made with SolidFrames), or -1
// for a cell left at `background`, or -2 for a cell that is not one colour
// (its top-left pixel aside, which may be the key).
inline std::vector<int> ReadCells(const Surface& s, int x, int y, int w, int h, int n, uint8_t first,
                                  uint8_t background) {
  std::vector<int> cells;
  for (int i = 0; i < n; ++i) {
    int left = x + i * w;
    uint8_t v = s.At(left + w / 2, y + h / 2);
    bool uniform = true;
    for (int r = 0; r < h; ++r) {
      for (int c = 0; c < w; ++c) {
        if (r + c > 0 && s.At(left + c, y + r) != v) uniform = false;
      }
    }
    cells.push_back(!uniform ? -2 : v == background ? -1 : v - first);
  }
  return cells;
}
