#pragma once

#include <string>

// What the options ask to play once the session now running has ended: a
// kept run watched, a practice run, or the title again.
struct SessionRequest {
  enum class Kind { Title, Watch, Practice };
  Kind kind = Kind::Title;
  std::string file;  // Watch: the run's file
  int stage = 1;     // Practice: where, and with how many potions
  int level = 1;
  int potions = 0;
  bool openReplays = false;  // Title: with the options open on REPLAYS
};
