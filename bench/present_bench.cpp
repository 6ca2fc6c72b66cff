#include <benchmark/benchmark.h>

#include <vector>

#include "gfx/scale.h"

namespace {

Palette GreyPalette() {
  Palette p{};
  for (size_t i = 0; i < p.size(); ++i) {
    auto v = static_cast<uint8_t>(i);
    p[i] = PaletteEntry{v, v, static_cast<uint8_t>(255 - v), 0};
  }
  return p;
}

Surface BusyPicture() {
  Surface s(640, 480);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) s.Row(y)[x] = static_cast<uint8_t>((x * 31 + y * 17 + x * y) & 0xFF);
  }
  return s;
}

// The presenter's work for one frame when the processor does all of it:
// the 640x480 8-bit picture through the palette into a 1920x1080 32-bit
// buffer, doubled and letterboxed.
void BM_PresentFullHd(benchmark::State& state) {
  Surface picture = BusyPicture();
  Palette palette = GreyPalette();
  std::vector<uint32_t> out(1920 * 1080);
  for (auto _ : state) {
    ConvertAndScale(picture, palette, out.data(), 1920, 1080, 1920);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(out.size() * sizeof(uint32_t)));
}
BENCHMARK(BM_PresentFullHd)->Unit(benchmark::kMicrosecond);

// What the window's presenter does today: conversion at the picture's own
// size into the streaming texture, which the renderer then enlarges.
void BM_ConvertOnly(benchmark::State& state) {
  Surface picture = BusyPicture();
  Palette palette = GreyPalette();
  std::vector<uint32_t> out(640 * 480);
  for (auto _ : state) {
    ConvertAndScale(picture, palette, out.data(), 640, 480, 640);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ConvertOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
