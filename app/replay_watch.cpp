#include "app/replay_watch.h"

#include "app/main_loop.h"
#include "app/shutdown.h"
#include "app/state_check.h"

namespace {
constexpr int kDifferedExitCode = 1;
}

ReplayWatch::ReplayWatch(const InputScript& script, bool endWithRun)
    : checks_(script.checks), version_(script.version), end_(script.end), endWithRun_(endWithRun) {
  if (script.run) knownStart_ = script.run->point;
}

void ReplayWatch::Attach(MainLoop& loop) {
  loop_ = &loop;
  tracker_.Prime(knownStart_);
  loop.OnTick([this](int64_t frame, bool) { AfterFrame(frame); });
}

void ReplayWatch::AfterFrame(int64_t frame) {
  if (IsQuitRequested() || ended_) return;
  RunTracker::Turn turn = tracker_.AfterFrame(frame);
  while (nextCheck_ < checks_.size() && checks_[nextCheck_].frame < frame) ++nextCheck_;
  if (nextCheck_ < checks_.size() && checks_[nextCheck_].frame == frame) {
    if (checks_[nextCheck_++].digest != StateDigest()) {
      differedAt_ = frame;
      SetQuitCode(kDifferedExitCode);
      ended_ = true;
      loop_->EndAfterThisTick();
      return;
    }
  }
  if ((endWithRun_ && turn == RunTracker::Turn::Ended) || (end_ && frame >= *end_)) {
    ended_ = true;
    loop_->EndAfterThisTick();
  }
}

std::string ReplayWatch::Message() const { return DifferenceMessage(version_, differedAt_); }
