#include "app/run_tracker.h"

#include <cstring>

#include "app/app_block.h"
#include "game/game.h"
#include "scenes/title.h"

namespace {
StartPoint GuessStart(int fromScene) {
  const AppBlock& app = GetAppBlock();
  StartPoint point{StartKind::Start, 0, app.startStage, app.startLevel, app.potionsCarried};
  if (fromScene == scene_state::kTitleRunning) {
    if (int episode = EpisodeOfGame(app.startStage, app.startLevel, app.potionsCarried)) {
      point.kind = StartKind::Episode;
      point.episode = episode;
    }
  }
  return point;
}

bool SameLine(const RankEntry& a, const RankEntry& b) {
  return a.score == b.score && std::strncmp(a.name, b.name, sizeof a.name) == 0;
}
}  // namespace

void RunTracker::Begin(int64_t firstFrame, const StartPoint& start) {
  inRun_ = true;
  rankingBefore_ = GetAppBlock().ranking;
  firstFrame_ = firstFrame;
  summary_ = RunSummary{};
  summary_.start = start;
  summary_.potions = start.potions;
  summary_.furthestStage = start.stage;
  summary_.furthestLevel = start.level;
}

RunTracker::Turn RunTracker::Prime(std::optional<StartPoint> known) {
  lastScene_ = GetAppBlock().sceneState;
  if (lastScene_ != scene_state::kGameStart) return Turn::None;
  Begin(0, known ? *known : GuessStart(0));
  return Turn::Began;
}

void RunTracker::Follow() {
  const NGame* game = CurrentGame();
  if (!game) return;
  GameSnapshot s = game->Snapshot();
  summary_.potions = s.potions;
  if (s.stage > summary_.furthestStage || (s.stage == summary_.furthestStage && s.level > summary_.furthestLevel)) {
    summary_.furthestStage = s.stage;
    summary_.furthestLevel = s.level;
  }
}

RunTracker::Turn RunTracker::AfterFrame(int64_t frame) {
  int scene = GetAppBlock().sceneState;
  int from = lastScene_;
  lastScene_ = scene;
  if (!inRun_) {
    if (scene != scene_state::kGameStart || from == scene_state::kGameStart) return Turn::None;
    Begin(frame + 1, GuessStart(from));
    return Turn::Began;
  }
  Follow();
  summary_.frames = frame - firstFrame_ + 1;
  if (scene == scene_state::kGameStart && from == scene_state::kContinueRunning) ++summary_.continuesUsed;
  if (scene != scene_state::kTitleStart && scene != scene_state::kEndingStart) return Turn::None;
  summary_.endingSeen = scene == scene_state::kEndingStart;
  NoteEntries();
  summary_.ended = true;
  inRun_ = false;
  return Turn::Ended;
}

// A name entry puts its line in and moves the ones below down: walking both
// tables, a line of the new one that is not the old one's next is new.
void RunTracker::NoteEntries() {
  const auto& now = GetAppBlock().ranking;
  size_t old = 0;
  for (const RankEntry& entry : now) {
    if (old < rankingBefore_.size() && SameLine(entry, rankingBefore_[old])) {
      ++old;
    } else {
      summary_.entered.push_back(entry);
    }
  }
}
