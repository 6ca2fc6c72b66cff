#include "drivers/soak_input.h"

#include <iterator>
#include <string_view>

#include "app/app_block.h"
#include "app/scene.h"
#include "input/input.h"
#include "input/key_names.h"

namespace {

// How often things happen: one chance in N per frame.
struct KeyOdds {
  int key;
  int pressOneIn;
  int releaseOneIn;
};

constexpr KeyOdds kKeys[] = {
    {key::kLeft, 8, 10},         {key::kRight, 8, 10},      {key::kUp, 60, 3},          {key::kDown, 60, 3},
    {key::kSpace, 4, 2},         {key::kLeftControl, 9, 2}, {key::kRightControl, 9, 2}, {key::kEnter, 80, 2},
    {key::kKeypadEnter, 160, 2}, {key::kBackspace, 30, 2},  {key::kP, 900, 2},          {key::kS, 700, 2},
};

// Letters in the order of the keyboard's rows, as the game's codes run; P and
// S are left out, as they pause and speed up the game.
constexpr std::string_view kLetters = "QWERTYUIOADFGHJKLZXCVBNM";
constexpr int kLetterOneIn = 10;
constexpr int kLetterReleaseOneIn = 2;
constexpr int kFocusLossOneIn = 1500;
constexpr int kFocusBackOneIn = 40;
constexpr int kUnpauseOneIn = 30;
// In the title menu: Down moves towards the exit item, which is the fifth.
// From the first item three presses at most stay clear of it.
constexpr int kTitleDownsAllowed = 3;
constexpr int kTitleDownOneIn = 40;
constexpr int kTitleConfirmOneIn = 60;

}  // namespace

void SoakInput::Press(int key, std::vector<HostEvent>& out) {
  if (!held_.insert(key).second) return;
  out.push_back({HostEventType::KeyDown, key});
}

void SoakInput::Release(int key, std::vector<HostEvent>& out) {
  if (held_.erase(key) == 0) return;
  out.push_back({HostEventType::KeyUp, key});
}

void SoakInput::ReleaseAll(std::vector<HostEvent>& out) {
  while (!held_.empty()) Release(*held_.begin(), out);
}

void SoakInput::TitleStep(std::vector<HostEvent>& out) {
  // Never Up: from the first item it would wrap to the exit.
  ReleaseAll(out);
  if (titleDowns_ < kTitleDownsAllowed && Roll(kTitleDownOneIn) == 0) {
    ++titleDowns_;
    Press(key::kDown, out);
  } else if (Roll(kTitleConfirmOneIn) == 0) {
    static constexpr int kConfirm[] = {key::kEnter, key::kKeypadEnter, key::kSpace};
    Press(kConfirm[Roll(static_cast<int>(std::size(kConfirm)))], out);
  }
}

std::vector<HostEvent> SoakInput::Step(int64_t) {
  std::vector<HostEvent> out;
  AppBlock& app = GetAppBlock();
  if (app.sceneState != lastScene_) {
    lastScene_ = app.sceneState;
    if (lastScene_ == scene_state::kTitleStart || lastScene_ == scene_state::kTitleRunning) titleDowns_ = 0;
  }
  if (!focused_) {
    if (Roll(kFocusBackOneIn) == 0) {
      focused_ = true;
      out.push_back({HostEventType::FocusGained});
    }
    return out;
  }
  if (Roll(kFocusLossOneIn) == 0) {
    focused_ = false;
    out.push_back({HostEventType::FocusLost});
    return out;
  }
  if (app.paused) {
    // Paused with P: press it again before long.
    if (app.hotkeysEnabled && Roll(kUnpauseOneIn) == 0) {
      Release(key::kP, out);
      Press(key::kP, out);
    }
    return out;
  }
  if (app.sceneState == scene_state::kTitleStart || app.sceneState == scene_state::kTitleRunning) {
    TitleStep(out);
    return out;
  }
  for (const KeyOdds& k : kKeys) {
    if (held_.count(k.key) != 0) {
      if (Roll(k.releaseOneIn) == 0) Release(k.key, out);
    } else if (Roll(k.pressOneIn) == 0) {
      Press(k.key, out);
    }
  }
  for (char letter : kLetters) {
    if (held_.count(LetterKey(letter)) != 0 && Roll(kLetterReleaseOneIn) == 0) Release(LetterKey(letter), out);
  }
  if (Roll(kLetterOneIn) == 0)
    Press(LetterKey(kLetters[static_cast<size_t>(Roll(static_cast<int>(kLetters.size())))]), out);
  return out;
}
