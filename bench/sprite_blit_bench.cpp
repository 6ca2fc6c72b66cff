#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "base/math_util.h"
#include "gfx/display.h"
#include "gfx/sprite256.h"

namespace {

constexpr int kSprites = 150;
constexpr int kSize = 46;
constexpr int kFrames = 4;
constexpr uint8_t kKey = 0;

// A 46x184 strip of four round-ish creatures: about two thirds of every
// frame is opaque, the rest is the key, as in the game's artwork.
Surface CreatureStrip() {
  Surface s(kSize, kSize * kFrames);
  for (int f = 0; f < kFrames; ++f) {
    int radius = 18 + f;
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        int dx = x - kSize / 2;
        int dy = y - kSize / 2;
        bool inside = dx * dx + dy * dy < radius * radius;
        s.Row(f * kSize + y)[x] = inside ? static_cast<uint8_t>(32 + (x + y + f) % 64) : kKey;
      }
    }
  }
  return s;
}

// One frame of a busy screen: 150 keyed 46x46 sprites drawn into the back
// surface, a few of them partly off its edges.
void BM_SpriteFrame(benchmark::State& state) {
  CreateDisplay(nullptr);
  SetDisplayMode();
  Surface* back = GetBackSurface();
  Surface strip = CreatureStrip();
  SeedRandom(1);
  std::vector<std::unique_ptr<NSprite256>> sprites;
  for (int i = 0; i < kSprites; ++i) {
    auto s = std::make_unique<NSprite256>(strip, kFrames);
    s->SetPosition(Random(640 + kSize) - kSize / 2, Random(480 + kSize) - kSize / 2);
    s->SetFrame(i % kFrames);
    sprites.push_back(std::move(s));
  }
  for (auto _ : state) {
    for (const auto& s : sprites) s->Draw(back);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSprites);
  ReleaseDisplay();
}
BENCHMARK(BM_SpriteFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
