#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A POST /api/runs body, {"name": "...", "replay": "<the run's file>"},
// read and bounded before anything replays it.
struct Submission {
  std::string name;
  std::string replay;
};

struct SubmissionResult {
  int status = 0;      // 0: read; else the answer's HTTP status (400, 413)
  std::string reason;  // why not
  Submission submission;
};

SubmissionResult ReadSubmission(std::string_view body, size_t maxReplayBytes);
