#pragma once

#include <cstdint>

#include "app/app_block.h"

// Decides whether a frame is due: at most one frame per frameInterval since
// the last one; the first frame runs at once (lastFrameTime starts at 0); a
// late frame is not made up. Differences are unsigned, so a wrap of the
// millisecond tick still gives the true elapsed time.
inline bool FrameDue(AppBlock& app, uint32_t now) {
  uint32_t elapsed = now - app.lastFrameTime;
  if (elapsed < app.frameInterval) return false;
  app.lastFrameTime = now;
  return true;
}

// Milliseconds until the next frame is due (0 when it is due now).
inline uint32_t MsUntilFrame(const AppBlock& app, uint32_t now) {
  uint32_t elapsed = now - app.lastFrameTime;
  return elapsed >= app.frameInterval ? 0 : app.frameInterval - elapsed;
}

// FrameDue for a loop that only gets to look when the display paints (a
// browser's animation frames, 60 or more a second): the next frame falls due
// one interval after this one fell due, not after it ran, so the frames keep
// the game's rate on any display. A frame later than kSteadyMaxLagMs (a page
// in the background, a stall) starts the count afresh instead of being made up.
constexpr uint32_t kSteadyMaxLagMs = 100;
inline bool SteadyFrameDue(AppBlock& app, uint32_t now) {
  uint32_t elapsed = now - app.lastFrameTime;
  if (elapsed < app.frameInterval) return false;
  app.lastFrameTime = elapsed - app.frameInterval > kSteadyMaxLagMs ? now : app.lastFrameTime + app.frameInterval;
  return true;
}
