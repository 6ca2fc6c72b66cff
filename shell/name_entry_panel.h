#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "shell/letter_picker.h"
#include "shell/overlay.h"

// What the name entry's panel shows; drawn anew when it changes.
struct NameEntryScreen {
  bool on = false;
  int32_t potions = 0;
  int place = -1;         // 0 first
  bool picker = false;    // the pad was used last: its letter picker
  char letter = 'A';      // the picker's chosen character
  std::string addButton;  // the pad's button that adds a letter
  bool operator==(const NameEntryScreen&) const = default;
};

// The shell's side of a name entry. Over the game's box it tells the run
// (the potions and the place they take) and what a name takes; a pad player
// gets the letter picker; the remembered name is typed in for the player,
// who may rub it out. Everything typed goes to the game as keys, one a
// frame (the game reads at most ten a frame), and only while the game runs:
// a game held by the options hears no keys.
class NameEntryPanel {
 public:
  // Once per look at the game. entering: a name is being typed now;
  // remembered: the name to type in at the start (empty: none). Returns the
  // name entered once the result is in the ranking.
  std::optional<std::string> Look(bool entering, const std::string& remembered);
  bool Entering() const { return entering_; }
  void Press(LetterPicker::Input input);
  // The key to type now, if one waits and frame is a frame not typed in yet.
  std::optional<int> KeyToType(int64_t frame);
  NameEntryScreen Screen(bool pad, const std::string& addButton) const;

 private:
  bool entering_ = false;
  int32_t potions_ = 0;
  int place_ = -1;
  bool awaiting_ = false;  // the result is still to be entered
  LetterPicker picker_;
  std::deque<int> keys_;
  int64_t typedAt_ = -1;
};

// keys: the entry's keys and the picker are shown (they act now).
void DrawNameEntry(const NameEntryScreen& screen, Overlay& overlay, bool keys = true);
