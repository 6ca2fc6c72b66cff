#include "gfx/curtain.h"

#include "gfx/display.h"

namespace {
constexpr int kPercentPerFrame = 100 / kCurtainFrames;
}  // namespace

void DrawOpeningCurtain(Surface* surface, int framesLeft) { DrawCurtain(surface, framesLeft * kPercentPerFrame); }

void DrawClosingCurtain(Surface* surface, int framesLeft) {
  DrawCurtain(surface, (kCurtainFrames - framesLeft) * kPercentPerFrame);
}
