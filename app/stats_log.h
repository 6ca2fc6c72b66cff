#pragma once

#include <cstdint>
#include <string>

#include "base/output_file.h"

// --stats: one line per frame of space-separated key=value pairs, in this
// order: frame scene state timer stage level x pstate lives potions power
// enemies bullets shots items explosions boss. Outside a game the game's
// keys show "-"; so does boss when there is no boss body.
class StatsLog {
 public:
  // False when the file cannot be written (told on standard error).
  bool Open(const std::string& path);
  // False when a write failed (told once).
  bool Close() { return out_.Close(); }
  void Write(int64_t frame);

  // The line for the current frame (also used by tests).
  static std::string Line(int64_t frame);
  // A number as the line shows it; tests compare states through it.
  static std::string Value(int value) { return std::to_string(value); }

 private:
  OutputFile out_;
};
