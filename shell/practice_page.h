#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shell/options_menu.h"
#include "shell/overlay.h"
#include "shell/session_request.h"

// PRACTICE in the options: a stage and level reached before and the
// potions to start with; START plays it as a practice run.
class PracticePage {
 public:
  static constexpr int kPotionStep = 50;
  static constexpr int kMostPotions = 250;

  // reached: the furthest level of each stage, stage 1 first.
  void Open(const std::vector<int>& reached, bool inGame);
  bool Press(MenuInput input);
  std::optional<SessionRequest> TakeRequest();
  bool HasRequest() const { return request_.has_value(); }
  void Draw(Overlay& overlay) const;

 private:
  enum Item { kStage, kLevel, kPotions, kStart, kBack, kItems };
  void StepStage(int step);

  std::vector<int> reached_;
  int item_ = kStage;
  int stage_ = 1;
  int level_ = 1;
  int potions_ = 0;
  bool inGame_ = false;
  bool asking_ = false;
  bool played_ = false;  // a practice run was started from here
  std::optional<SessionRequest> request_;
};
