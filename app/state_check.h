#pragma once

#include <cstdint>
#include <string>

// Recorded files carry a "check FRAME DIGEST" line every kCheckInterval
// frames, so that a replay played by a game whose rules moved stops where it
// parts instead of playing a different game without a word.
constexpr int64_t kCheckInterval = 250;

// The game's state after a frame, in 32 bits: the random generator, the
// scene, the application block's hand-over fields and pace, the ranking and
// every number of the --stats line. Never the picture, so a replay that
// does not draw checks the same.
uint32_t StateDigest();

// "velloria 0.1.0 rules 3f2a9c1e5b7d0a44": the program's version and a
// digest of its content and rules, taken by the build from every resource
// and every source that decides play.
std::string VersionText();

// The one line a replay that parted from its recording ends with.
std::string DifferenceMessage(const std::string& recordedVersion, int64_t frame);
