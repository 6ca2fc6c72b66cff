#include "shell/options_menu.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "app/app_block.h"
#include "input/key_names.h"
#include "shell/key_meaning.h"
#include "shell/practice_page.h"
#include "shell/replays_page.h"

namespace {

constexpr int kVolumeStep = 10;
constexpr int kCentreX = 320;
constexpr int kLabelChars = 15;   // the value column's place on the first page
constexpr int kActionChars = 10;  // and the keys' on the controls page
constexpr int kKeysChars = 32;    // keys beyond this are cut short

enum MainItem {
  kMusic,
  kSound,
  kMute,
  kDisplay,
  kFit,
  kControls,
  kHoldToFire,
  kRememberName,
  kConfirmQuit,
  kReplays,
  kPractice,
  kResetRanking,
  kBackToGame,
  kMainItems
};
constexpr std::array<const char*, kMainItems> kMainLabels = {
    "MUSIC",         "SOUND",        "MUTE",    "DISPLAY",  "FIT",           "CONTROLS", "HOLD TO FIRE",
    "REMEMBER NAME", "CONFIRM QUIT", "REPLAYS", "PRACTICE", "RESET RANKING", "BACK"};
constexpr int kDefaultKeys = kActionCount;
constexpr int kControlItems = kActionCount + 2;  // the actions, DEFAULT KEYS, BACK

std::string Upper(std::string_view text) {
  std::string s(text);
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
  return s;
}

// A key's name as the font can show it: KP_ENTER reads KP ENTER.
std::string Shown(int code) {
  std::string name(KeyNameFromCode(code));
  std::replace(name.begin(), name.end(), '_', ' ');
  return name;
}

std::string KeysText(const std::vector<int>& keys, const std::vector<int>* buttons) {
  std::string text;
  for (int code : keys) text += (text.empty() ? "" : "  ") + Shown(code);
  if (buttons && !buttons->empty()) {
    text += text.empty() ? "PAD" : "  PAD";
    for (int b : *buttons) text += " " + FirstButtonName({b}, "");
  }
  if (text.size() > kKeysChars) text = text.substr(0, kKeysChars - 2) + "..";
  return text;
}

int Wrap(int item, int count) { return (item % count + count) % count; }

// The band behind the chosen line, from edge to edge of the panel.
Rect ChosenLine(const Rect& panel, int y) {
  constexpr int kAbove = 2;
  return {panel.left + 2, y - kAbove, panel.right - 2, y + NAscii::kGlyphHeight + kAbove};
}

// A page's lines: the title, a gap, the items, a gap, the hint.
constexpr int PageLines(int items) { return items + 4; }

void StepVolume(int& volume, int step) { volume = std::clamp(volume + step, 0, kMaxVolume); }

}  // namespace

OptionsMenu::OptionsMenu(Settings& settings)
    : settings_(settings), replays_(std::make_unique<ReplaysPage>()), practice_(std::make_unique<PracticePage>()) {}

OptionsMenu::~OptionsMenu() = default;

std::optional<SessionRequest> OptionsMenu::TakeRequest() {
  if (request_) return std::exchange(request_, std::nullopt);
  std::optional<SessionRequest> request = replays_->TakeRequest();
  return request ? request : practice_->TakeRequest();
}

std::optional<RunToSend> OptionsMenu::TakeSend() { return replays_->TakeSend(); }

void OptionsMenu::ShowReplays() {
  replays_->Open(place_.folder, place_.exports, GetAppBlock().ranking, place_.hall);
  page_ = Page::Replays;
}

void OptionsMenu::Open(const ShelfPlace& place) {
  place_ = place;
  page_ = Page::Main;
  item_ = 0;
  awaiting_ = false;
  confirmingReplays_ = false;
  said_.clear();
}

bool OptionsMenu::Press(MenuInput input) {
  said_.clear();
  // The question stands for the next press only.
  if (input != MenuInput::Enter || page_ != Page::Main || item_ != kResetRanking) confirmingReset_ = false;
  if (input != MenuInput::Enter || page_ != Page::Main || item_ != kReplays) confirmingReplays_ = false;
  if (page_ == Page::Replays || page_ == Page::Practice) {
    bool stays = page_ == Page::Replays ? replays_->Press(input) : practice_->Press(input);
    if (stays) return true;
    page_ = Page::Main;
    // A page that asks to play closes the options; BACK only the page.
    return input != MenuInput::Close && !replays_->HasRequest() && !practice_->HasRequest();
  }
  if (input == MenuInput::Close) return false;
  if (input == MenuInput::Up || input == MenuInput::Down) {
    item_ = Wrap(item_ + (input == MenuInput::Up ? -1 : 1), page_ == Page::Main ? kMainItems : kControlItems);
    return true;
  }
  return page_ == Page::Main ? PressMain(input) : PressControls(input);
}

bool OptionsMenu::PressMain(MenuInput input) {
  int step = input == MenuInput::Left ? -kVolumeStep : kVolumeStep;
  switch (item_) {
    case kMusic:
    case kSound: {
      int& volume = item_ == kMusic ? settings_.musicVolume : settings_.soundVolume;
      if (input == MenuInput::Enter && volume == kMaxVolume) {
        volume = 0;
      } else {
        StepVolume(volume, step);
      }
      return true;
    }
    case kMute:
      settings_.mute = !settings_.mute;
      return true;
    case kDisplay:
      settings_.fullScreen = !settings_.fullScreen;
      return true;
    case kFit:
      settings_.fit = settings_.fit == Fit::Auto ? Fit::Whole : settings_.fit == Fit::Whole ? Fit::Fill : Fit::Auto;
      return true;
    case kHoldToFire:
      settings_.holdToFire = !settings_.holdToFire;
      return true;
    case kRememberName:
      // Forgotten as soon as it is not to be remembered.
      settings_.rememberName = !settings_.rememberName;
      if (!settings_.rememberName) settings_.name.clear();
      return true;
    case kConfirmQuit:
      settings_.confirmQuit = !settings_.confirmQuit;
      return true;
    case kReplays:
      if (input != MenuInput::Enter) return true;
      if (!place_.inGame) {
        ShowReplays();
        return true;
      }
      // As a quit does: the game ends only on a second Enter; the list then
      // opens over the title.
      if (std::exchange(confirmingReplays_, !confirmingReplays_)) {
        request_ = SessionRequest{SessionRequest::Kind::Title};
        request_->openReplays = true;
        return false;
      }
      said_ = "PRESS AGAIN TO END THE GAME FOR REPLAYS";
      return true;
    case kPractice:
      if (input == MenuInput::Enter) {
        practice_->Open(settings_.reached, place_.inGame);
        page_ = Page::Practice;
      }
      return true;
    case kResetRanking:
      if (input != MenuInput::Enter) return true;
      resetAsked_ = confirmingReset_;
      confirmingReset_ = !confirmingReset_;
      said_ = resetAsked_ ? "DEFAULT RANKING RESTORED" : "PRESS AGAIN TO RESET THE RANKING";
      return true;
    case kControls:
      if (input == MenuInput::Enter) {
        page_ = Page::Controls;
        item_ = 0;
      }
      return true;
    default:
      return input != MenuInput::Enter;  // BACK
  }
}

bool OptionsMenu::PressControls(MenuInput input) {
  if (input != MenuInput::Enter) return true;
  if (item_ < kActionCount) {
    awaiting_ = true;
  } else if (item_ == kDefaultKeys) {
    settings_.bindings = Bindings::Defaults();
    said_ = "DEFAULT KEYS RESTORED";
  } else {
    page_ = Page::Main;
    item_ = kControls;
  }
  return true;
}

bool OptionsMenu::TakeResetRanking() { return std::exchange(resetAsked_, false); }

void OptionsMenu::TakeKey(int code) {
  awaiting_ = false;
  said_ = BindKey(settings_.bindings, kActions[static_cast<size_t>(item_)], code);
}

void OptionsMenu::TakeButton(int button) {
  awaiting_ = false;
  said_ = BindButton(settings_.bindings, kActions[static_cast<size_t>(item_)], button);
}

void OptionsMenu::Draw(Overlay& overlay, bool touch, bool pad) const {
  if (page_ == Page::Main) {
    DrawMain(overlay, touch, pad);
  } else if (page_ == Page::Replays) {
    replays_->Draw(overlay);
  } else if (page_ == Page::Practice) {
    practice_->Draw(overlay);
  } else {
    DrawControls(overlay, pad);
  }
}

void OptionsMenu::DrawMain(Overlay& overlay, bool touch, bool pad) const {
  std::string keys = touch ? "ARROWS AND OK CHANGE  OPTIONS CLOSES" : "ARROWS CHOOSE AND CHANGE  F1 CLOSES";
  if (pad && !touch) keys = "D-PAD CHOOSES AND CHANGES  BACK CLOSES";
  const std::string hint = said_.empty() ? keys : said_;
  int width = std::max(Overlay::TextWidth(hint), (kLabelChars + 11) * NAscii::kGlyphWidth);
  auto [panel, x, y] = overlay.OpenPage(width, PageLines(kMainItems), "OPTIONS");
  for (int i = 0; i < kMainItems; ++i, y += Overlay::kLineHeight) {
    int font = i == item_ ? 1 : 0;
    if (i == item_) overlay.Highlight(ChosenLine(panel, y));
    overlay.Text(x, y, kMainLabels[static_cast<size_t>(i)], font);
    std::string value;
    if (i == kMusic) value = std::to_string(settings_.musicVolume);
    if (i == kSound) value = std::to_string(settings_.soundVolume);
    if (i == kMute) value = settings_.mute ? "ON" : "OFF";
    if (i == kDisplay) value = settings_.fullScreen ? "FULL SCREEN" : "WINDOW";
    if (i == kFit) value = settings_.fit == Fit::Auto ? "AUTO" : settings_.fit == Fit::Fill ? "FILL" : "WHOLE";
    if (i == kHoldToFire) value = settings_.holdToFire ? "ON" : "OFF";
    if (i == kRememberName) value = settings_.rememberName ? "ON" : "OFF";
    if (i == kConfirmQuit) value = settings_.confirmQuit ? "ON" : "OFF";
    overlay.Text(x + kLabelChars * NAscii::kGlyphWidth, y, value, font);
  }
  overlay.TextCentred(kCentreX, y + Overlay::kLineHeight, hint, 0);
}

void OptionsMenu::DrawControls(Overlay& overlay, bool pad) const {
  std::string choose =
      pad && !settings_.bindings.padConfirm.empty() ? PadButtonName(settings_.bindings.padConfirm[0]) : "ENTER";
  std::string hint = said_.empty() ? choose + " THEN A KEY OR BUTTON ADDS OR TAKES IT" : said_;
  if (awaiting_) hint = "PRESS A KEY OR BUTTON FOR " + Upper(ActionName(kActions[static_cast<size_t>(item_)]));
  int width = std::max(Overlay::TextWidth(hint), (kActionChars + kKeysChars) * NAscii::kGlyphWidth);
  auto [panel, x, y] = overlay.OpenPage(width, PageLines(kControlItems), "CONTROLS");
  for (int i = 0; i < kControlItems; ++i, y += Overlay::kLineHeight) {
    int font = i == item_ ? 1 : 0;
    if (i == item_) overlay.Highlight(ChosenLine(panel, y));
    if (i < kActionCount) {
      Action action = kActions[static_cast<size_t>(i)];
      overlay.Text(x, y, Upper(ActionName(action)), font);
      overlay.Text(x + kActionChars * NAscii::kGlyphWidth, y,
                   KeysText(settings_.bindings.Keys(action), settings_.bindings.Buttons(action)), font);
    } else {
      overlay.Text(x, y, i == kDefaultKeys ? "DEFAULT KEYS" : "BACK", font);
    }
  }
  overlay.TextCentred(kCentreX, y + Overlay::kLineHeight, hint, 0);
}
