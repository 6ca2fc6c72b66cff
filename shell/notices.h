#pragma once

#include <cstdint>
#include <string>

// A line for the player for about two seconds: a screenshot's name, a
// volume, a save that failed. A new one takes the place of the last.
class Notices {
 public:
  static constexpr uint32_t kShowMs = 2000;

  void Show(std::string text, uint32_t nowMs) {
    text_ = std::move(text);
    shownAt_ = nowMs;
  }
  // The line to show now; empty once its time is up.
  const std::string& Current(uint32_t nowMs) {
    if (!text_.empty() && nowMs - shownAt_ >= kShowMs) text_.clear();
    return text_;
  }
  // Milliseconds until the line goes (-1: none is shown).
  int MsLeft(uint32_t nowMs) const {
    if (text_.empty()) return -1;
    uint32_t shown = nowMs - shownAt_;
    return shown >= kShowMs ? 0 : static_cast<int>(kShowMs - shown);
  }

 private:
  std::string text_;
  uint32_t shownAt_ = 0;
};
