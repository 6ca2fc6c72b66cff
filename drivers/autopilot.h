#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "app/input_driver.h"

class NGame;

// A bot that plays through the same key path as a person: in menus it
// confirms, at the name entry it types a name, in a game it steers under
// targets, catches potions, dodges the bullets it sees coming and fires by
// presses.
class Autopilot : public InputDriver {
 public:
  // The key events to deliver before this frame.
  std::vector<HostEvent> Step(int64_t frame) override;

 private:
  void Hold(int key, bool down, std::vector<HostEvent>& out);
  void Play(const NGame& game, int64_t frame, std::vector<HostEvent>& out);
  void TypeName(int64_t frame, std::vector<HostEvent>& out);
  // -1 left, 0 stay, 1 right.
  int ChooseMove(const NGame& game) const;
  int TargetX(const NGame& game) const;

  std::set<int> held_;
  int typed_ = 0;
};
