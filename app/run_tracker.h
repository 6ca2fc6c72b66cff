#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/run_start.h"

// A run: what follows a start (a title EPISODE, --start, a practice start)
// through its continues to the final game over, its name entry done and a
// continue refused or impossible, or to the ending.
struct RunSummary {
  StartPoint start;
  // The score the ranking records: the potions at the final game over or at
  // the ending.
  int potions = 0;
  int furthestStage = 0;
  int furthestLevel = 0;
  bool endingSeen = false;
  int continuesUsed = 0;
  int64_t frames = 0;
  bool ended = false;
  // The lines the run's name entries put into the ranking, best first.
  std::vector<RankEntry> entered;
};

// Watches the sequencer frame by frame through the application block and the
// game, and says when a run begins and ends.
class RunTracker {
 public:
  enum class Turn { None, Began, Ended };

  // Before the first frame: a run that begins with it (--start, a kept run)
  // begins now. kind overrides what the tracker would guess (a practice
  // start looks like --start).
  Turn Prime(std::optional<StartPoint> known = std::nullopt);
  // After the frame numbered frame (a tick that passed, whether it ran).
  // Began: the run's first frame is the next one; Ended: this was its last.
  Turn AfterFrame(int64_t frame);

  bool InRun() const { return inRun_; }
  // The frame the current (or last) run began with.
  int64_t FirstFrame() const { return firstFrame_; }
  const RunSummary& Summary() const { return summary_; }

 private:
  void Begin(int64_t firstFrame, const StartPoint& start);
  void Follow();

  void NoteEntries();

  bool inRun_ = false;
  std::array<RankEntry, kRankEntries> rankingBefore_{};
  int lastScene_ = 0;
  int64_t firstFrame_ = 0;
  RunSummary summary_;
};
