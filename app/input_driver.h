#pragma once

#include <cstdint>
#include <vector>

#include "app/host.h"

// Plays in place of a person, for tests and long unattended runs. The loop
// asks it before every frame for the events to deliver; they take the same
// path as a person's keys and focus changes, and are recorded like them.
class InputDriver {
 public:
  virtual ~InputDriver() = default;
  virtual std::vector<HostEvent> Step(int64_t frame) = 0;
  // Whether it is asked while the game is paused as well (a driver that
  // pauses the game must be able to resume it).
  virtual bool StepsWhilePaused() const { return false; }
};
