#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/input_script.h"
#include "app/run_tracker.h"

class MainLoop;

// A run as a file of its own: its header (the version, where it began and
// the state its first frame reads), its events counted from its first frame
// and a check every kCheckInterval frames. Replays that run alone.
struct KeptRun {
  RunSummary summary;
  std::string text;
  int64_t firstFrame = 0;  // the session's frame the run began with
};

// Follows a live session and hands over every run played in it, as it
// ends (and the run cut short when the session ends, unfinished).
class RunRecorder {
 public:
  using Keeper = std::function<void(const KeptRun&)>;
  explicit RunRecorder(Keeper keeper) : keeper_(std::move(keeper)) {}

  // Follows the loop from its first frame on; the loop must outlive the
  // recorder's use. A practice start is known to the caller, not seen.
  void Attach(MainLoop& loop, std::optional<StartPoint> firstStart = std::nullopt);
  // The session is over: a run still going is handed over unfinished.
  void Finish();
  bool InRun() const { return tracker_.InRun(); }

 private:
  void Begin();
  void AfterFrame(int64_t frame);
  void Keep();

  Keeper keeper_;
  MainLoop* loop_ = nullptr;
  RunTracker tracker_;
  InputScript run_;
};
