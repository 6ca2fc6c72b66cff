#include "shell/name_entry_panel.h"

#include <algorithm>
#include <cstdio>

#include "app/app_block.h"
#include "app/ranking.h"
#include "shell/name_letters.h"

namespace {

constexpr int kCentreX = 320;
// The game's box: centred, 227x75 for its prompt; its field's text row.
constexpr int kBoxTop = 202;
constexpr int kBoxBottom = 277;
constexpr int kBoxRight = 433;
constexpr int kFieldTextY = 243;
constexpr int kGap = 16;
constexpr int kPickerCentreX = kBoxRight + 48;
constexpr int kShownDigits = 10000;  // the ranking shows four digits

std::string Ordinal(int place) {
  int n = place + 1;
  const char* suffix = n % 100 / 10 == 1 ? "TH" : n % 10 == 1 ? "ST" : n % 10 == 2 ? "ND" : n % 10 == 3 ? "RD" : "TH";
  return std::to_string(n) + suffix;
}

}  // namespace

std::optional<std::string> NameEntryPanel::Look(bool entering, const std::string& remembered) {
  if (entering && !entering_) {
    potions_ = GetAppBlock().namedPotions;
    place_ = FindRankPosition(potions_);
    picker_.Reset();
    keys_.clear();
    for (char c : remembered) {
      if (int key = KeyTyping(c); key >= 0) keys_.push_back(key);
    }
  }
  if (!entering && entering_) {
    keys_.clear();
    awaiting_ = place_ >= 0;
  }
  entering_ = entering;
  // The game enters the result a frame after the name is finished: until
  // then its place holds a lower score.
  if (entering || !awaiting_ || GetRankEntry(place_).score != potions_) return std::nullopt;
  awaiting_ = false;
  return std::string(GetRankEntry(place_).name);
}

void NameEntryPanel::Press(LetterPicker::Input input) {
  if (!entering_) return;
  if (int key = picker_.Press(input); key >= 0) keys_.push_back(key);
}

std::optional<int> NameEntryPanel::KeyToType(int64_t frame) {
  if (keys_.empty() || frame == typedAt_) return std::nullopt;
  typedAt_ = frame;
  int key = keys_.front();
  keys_.pop_front();
  return key;
}

NameEntryScreen NameEntryPanel::Screen(bool pad, const std::string& addButton) const {
  NameEntryScreen s;
  s.on = entering_;
  if (!entering_) return s;
  s.potions = potions_;
  s.place = place_;
  s.picker = pad;
  s.letter = picker_.Chosen();
  s.addButton = pad ? addButton : "";
  return s;
}

void DrawNameEntry(const NameEntryScreen& screen, Overlay& overlay, bool keys) {
  if (!screen.on) return;
  char potions[8];
  std::snprintf(potions, sizeof potions, "%04d", static_cast<int>(screen.potions % kShownDigits));
  std::string run = std::string(potions) + " POTIONS";
  if (screen.place >= 0) run += " - " + Ordinal(screen.place) + " PLACE";
  constexpr int kOneLine = NAscii::kGlyphHeight + 2 * Overlay::kPadding;
  Rect above = overlay.PanelFor(Overlay::TextWidth(run), 1, kCentreX, kBoxTop - kGap - kOneLine);
  overlay.TextCentred(kCentreX, above.top + Overlay::kPadding, run, 1);

  if (!keys) return;
  const std::string takes = "A NAME TAKES A-Z 0-9 - . AND SPACE";
  std::string ways = "RETURN ENDS  BACKSPACE ERASES";
  if (screen.picker) {
    ways = "UP DOWN CHOOSE  " + screen.addButton + " ADDS  LEFT ERASES  START ENDS";
    LetterPicker::Draw(overlay, kPickerCentreX, kFieldTextY, screen.letter);
  }
  Rect below =
      overlay.PanelFor(std::max(Overlay::TextWidth(takes), Overlay::TextWidth(ways)), 2, kCentreX, kBoxBottom + kGap);
  overlay.TextCentred(kCentreX, below.top + Overlay::kPadding, takes, 0);
  overlay.TextCentred(kCentreX, below.top + Overlay::kPadding + Overlay::kLineHeight, ways, 0);
}
