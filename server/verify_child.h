#pragma once

#include <cstdint>
#include <string>

#include "server/verdict.h"

// Replays a submitted file in this process, from its first frame to its
// first run's end or maxFrames, and says what the run scored.
Verdict VerifyRunFile(const std::string& file, int64_t maxFrames);

// The --verify child: the file from standard input, the verdict as one JSON
// line on standard output. Returns the exit code.
int RunVerifyChild(int64_t maxFrames, size_t maxBytes);
