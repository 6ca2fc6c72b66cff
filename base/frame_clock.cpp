#include "base/frame_clock.h"

namespace {
int64_t currentFrame = 0;
}

int64_t CurrentFrame() { return currentFrame; }
void SetCurrentFrame(int64_t frame) { currentFrame = frame; }
