#pragma once

#include <cstdint>
#include <string>

#include "app/input_script.h"
#include "app/run_tracker.h"

struct ReplayLimits {
  // The replay gives up after this many frames (a file that never ends its
  // run cannot hold a caller for ever); 0 sets no bound.
  int64_t maxFrames = 0;
  // Whether frames are drawn; a replay that only judges a run need not.
  bool draw = true;
};

struct ReplayOutcome {
  // The run ended as recorded, every check agreeing.
  bool ok = false;
  // Why not, in one line.
  std::string reason;
  // The check's frame where the game parted from the recording, or -1.
  int64_t failedFrame = -1;
  RunSummary run;
  // The recording game's version line ("velloria 0.1.0 rules ..."), or empty.
  std::string recordedVersion;
};

// Replays a file's first run headless, without devices or files of its own
// (the ranking in memory), checking every check line: a run kept alone from
// its game start, a whole session from its first frame to the end of its
// first run. The game's state is program-wide: one replay at a time.
ReplayOutcome ReplayFirstRun(const InputScript& script, const ReplayLimits& limits);
