#include "app/run_recorder.h"

#include <algorithm>

#include "app/main_loop.h"
#include "app/state_check.h"

void RunRecorder::Attach(MainLoop& loop, std::optional<StartPoint> firstStart) {
  loop_ = &loop;
  if (tracker_.Prime(firstStart) == RunTracker::Turn::Began) Begin();
  loop.OnTick([this](int64_t frame, bool) { AfterFrame(frame); });
  loop.OnEvent([this](const ScriptedEvent& event) {
    if (!tracker_.InRun()) return;
    ScriptedEvent shifted = event;
    shifted.frame -= tracker_.FirstFrame();
    run_.events.push_back(shifted);
  });
}

// Taken between the frame before the run and its first one, so the state
// is the one that frame reads.
void RunRecorder::Begin() {
  run_ = InputScript{};
  run_.version = VersionText();
  run_.run = CaptureRunStart(tracker_.Summary().start);
  loop_->KeepRunSettings(true);
  run_.holdToFire = loop_->HoldToFire();
}

void RunRecorder::AfterFrame(int64_t frame) {
  bool wasInRun = tracker_.InRun();
  RunTracker::Turn turn = tracker_.AfterFrame(frame);
  if (wasInRun) {
    int64_t runFrame = frame - tracker_.FirstFrame();
    if (runFrame > 0 && runFrame % kCheckInterval == 0) run_.checks.push_back({runFrame, StateDigest()});
  }
  if (turn == RunTracker::Turn::Ended) Keep();
  if (turn == RunTracker::Turn::Began) Begin();
}

void RunRecorder::Keep() {
  loop_->KeepRunSettings(false);
  run_.end = std::max<int64_t>(0, tracker_.Summary().frames - 1);
  if (keeper_) keeper_({tracker_.Summary(), FormatInputScript(run_), tracker_.FirstFrame()});
  run_ = InputScript{};
}

void RunRecorder::Finish() {
  if (tracker_.InRun() && run_.run) Keep();
}
