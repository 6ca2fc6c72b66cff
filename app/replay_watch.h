#pragma once

#include <cstdint>
#include <string>

#include "app/input_script.h"
#include "app/run_tracker.h"

class MainLoop;

// Watches a replayed file: compares its check lines with the game's state
// and follows its first run. The replay ends at the first difference, and
// at the end of that run when asked to (a run kept alone ends with it).
class ReplayWatch {
 public:
  ReplayWatch(const InputScript& script, bool endWithRun);
  // Before the first frame. The replay ends once every observer has seen
  // its last frame.
  void Attach(MainLoop& loop);

  bool Differed() const { return differedAt_ >= 0; }
  // The check's frame where the game parted from the recording, or -1.
  int64_t DifferedAt() const { return differedAt_; }
  // "recorded by velloria 0.1.0 (rules ...); this game differs from frame F"
  std::string Message() const;
  const RunTracker& Tracker() const { return tracker_; }
  const std::string& RecordedVersion() const { return version_; }

 private:
  void AfterFrame(int64_t frame);

  std::vector<StateCheck> checks_;
  size_t nextCheck_ = 0;
  std::string version_;
  std::optional<int64_t> end_;
  std::optional<StartPoint> knownStart_;
  bool endWithRun_;
  RunTracker tracker_;
  int64_t differedAt_ = -1;
  MainLoop* loop_ = nullptr;
  bool ended_ = false;
};
