#pragma once

#include <cstdint>
#include <random>
#include <set>
#include <vector>

#include "app/input_driver.h"

// Random input for long unattended runs: keys pressed and released at
// random (arrows, fire, confirm, P, S, letters, Backspace) and the window
// losing and regaining focus. Seeded and independent of the game's own
// random numbers, so a seed gives the same run every time. It never sends
// Escape, and in the title menu it never reaches the exit item, so a run
// ends only at its frame limit.
class SoakInput : public InputDriver {
 public:
  explicit SoakInput(uint32_t seed) : random_(seed) {}
  // The events to deliver before this frame; asked while paused as well.
  std::vector<HostEvent> Step(int64_t frame) override;
  bool StepsWhilePaused() const override { return true; }

 private:
  // 0..n-1 from the generator's raw output, the same on every platform.
  int Roll(int n) { return static_cast<int>(random_() % static_cast<uint32_t>(n)); }
  void Press(int key, std::vector<HostEvent>& out);
  void Release(int key, std::vector<HostEvent>& out);
  void ReleaseAll(std::vector<HostEvent>& out);
  void TitleStep(std::vector<HostEvent>& out);

  std::mt19937 random_;
  std::set<int> held_;
  bool focused_ = true;
  int lastScene_ = -1;
  int titleDowns_ = 0;
};
