#include "shell/practice_page.h"

#include <algorithm>
#include <array>

namespace {
constexpr int kCentreX = 320;
constexpr int kLabelChars = 10;
constexpr std::array<const char*, 5> kLabels = {"STAGE", "LEVEL", "POTIONS", "START", "BACK"};
}  // namespace

void PracticePage::Open(const std::vector<int>& reached, bool inGame) {
  reached_ = reached;
  inGame_ = inGame;
  item_ = kStage;
  asking_ = false;
  request_.reset();
  // The level last played stays chosen, with START, while it is still
  // offered: trying it again takes F1, PRACTICE and Enter twice.
  bool offered = played_ && stage_ >= 1 && stage_ <= static_cast<int>(reached_.size()) &&
                 level_ <= reached_[static_cast<size_t>(stage_ - 1)];
  if (offered) {
    item_ = kStart;
    return;
  }
  stage_ = 0;
  level_ = 1;
  potions_ = 0;
  StepStage(1);
}

// To the next stage (step 1) or the one before (-1) that has been reached.
void PracticePage::StepStage(int step) {
  int count = static_cast<int>(reached_.size());
  for (int tries = 0; tries < count; ++tries) {
    stage_ = (stage_ - 1 + step + count) % count + 1;
    if (reached_[static_cast<size_t>(stage_ - 1)] > 0) {
      level_ = std::min(level_, reached_[static_cast<size_t>(stage_ - 1)]);
      return;
    }
  }
  stage_ = 0;
}

std::optional<SessionRequest> PracticePage::TakeRequest() {
  std::optional<SessionRequest> request = std::move(request_);
  request_.reset();
  return request;
}

bool PracticePage::Press(MenuInput input) {
  if (input == MenuInput::Close) return false;
  if (asking_) {
    asking_ = false;
    if (input != MenuInput::Enter) return true;
    request_ = SessionRequest{SessionRequest::Kind::Practice, "", stage_, level_, potions_};
    played_ = true;
    return false;
  }
  if (input == MenuInput::Up || input == MenuInput::Down) {
    item_ = (item_ + (input == MenuInput::Up ? -1 : 1) + kItems) % kItems;
    return true;
  }
  int step = input == MenuInput::Left ? -1 : 1;
  if (stage_ == 0 && item_ != kBack) return true;  // nothing reached yet
  switch (item_) {
    case kStage:
      StepStage(step);
      return true;
    case kLevel: {
      int most = reached_[static_cast<size_t>(stage_ - 1)];
      level_ = (level_ - 1 + step + most) % most + 1;
      return true;
    }
    case kPotions:
      potions_ = (potions_ + step * kPotionStep + kMostPotions + kPotionStep) % (kMostPotions + kPotionStep);
      return true;
    case kStart:
      if (input != MenuInput::Enter) return true;
      if (inGame_) {
        asking_ = true;
        return true;
      }
      request_ = SessionRequest{SessionRequest::Kind::Practice, "", stage_, level_, potions_};
      played_ = true;
      return false;
    default:
      return input != MenuInput::Enter;
  }
}

void PracticePage::Draw(Overlay& overlay) const {
  std::string hint = stage_ == 0 ? "NO LEVEL REACHED YET" : "LEFT RIGHT CHANGE  START PLAYS";
  if (asking_) hint = "LEAVE THE GAME?  ENTER YES";
  int width = std::max(Overlay::TextWidth(hint), (kLabelChars + 6) * NAscii::kGlyphWidth);
  auto [panel, x, y] = overlay.OpenPage(width, kItems + 4, "PRACTICE");  // title, gap, items, gap, hint
  for (int i = 0; i < kItems; ++i, y += Overlay::kLineHeight) {
    int font = i == item_ ? 1 : 0;
    if (i == item_) overlay.Highlight({panel.left + 2, y - 2, panel.right - 2, y + NAscii::kGlyphHeight + 2});
    overlay.Text(x, y, kLabels[static_cast<size_t>(i)], font);
    std::string value;
    if (stage_ > 0 && i == kStage) value = std::to_string(stage_);
    if (stage_ > 0 && i == kLevel) value = std::to_string(level_);
    if (i == kPotions) value = std::to_string(potions_);
    overlay.Text(x + kLabelChars * NAscii::kGlyphWidth, y, value, font);
  }
  overlay.TextCentred(kCentreX, y + Overlay::kLineHeight, hint, 0);
}
