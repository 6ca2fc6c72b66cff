#pragma once

#include <cstdint>

// The run's frame number: ticks of its clock from 0, one per frame interval,
// whether or not the frame runs (while paused ticks still pass). Logs and
// input files count in it.
int64_t CurrentFrame();
void SetCurrentFrame(int64_t frame);
