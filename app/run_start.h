#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_block.h"
#include "input/input.h"

// Where a run began: a title EPISODE, --start, or a practice start.
enum class StartKind { Episode, Start, Practice };

struct StartPoint {
  StartKind kind = StartKind::Start;
  int episode = 0;  // Episode: the menu's item, 1..3
  int stage = 1;
  int level = 1;
  int potions = 0;

  bool operator==(const StartPoint&) const = default;
};

// Everything a run's first frame reads that an earlier game of the session
// may have left behind, so that a run kept alone replays exactly:
//
//   run episode 2                   or run start 1-3:200, run practice 2-5:100
//   random 1234567                  the generator's state
//   rank 0 100,KORVA GAMES          the ranking, places 0..7
//   input down RIGHT SPACE          keys held now
//   input read RETURN               keys as the last update read them
//   input held 37 0 0 0             updates each fire key has been held
//   input pad X Y BUTTONS           the pad now (pad-read: as last read)
//   fast on                         fast mode was on
struct RunStart {
  StartPoint point;
  std::optional<uint32_t> random;
  // A place without its line keeps the ranking the replay loaded.
  std::array<std::optional<RankEntry>, kRankEntries> ranking{};
  InputCarry input;
  bool fast = false;
};

// The state now, for a run whose first frame is the next one.
RunStart CaptureRunStart(const StartPoint& point);
// The hand-over fields and the game-start state, the generator, the ranking
// in memory, the input and fast mode. The input must be set up already.
void ApplyRunStart(const RunStart& start);

// The header lines of a run, each ending in a newline.
std::string FormatRunStart(const RunStart& start);
// Whether a line's first word belongs to a run's header.
bool IsRunStartLine(const std::string& firstWord);
// Takes one header line (its words, and the text with comments removed);
// false with why set when it is malformed.
bool ParseRunStartLine(const std::vector<std::string>& words, const std::string& text, RunStart& start,
                       std::string& why);

// A ranking name on one line of a file with comments: '#', '%', control
// bytes, bytes beyond ASCII, spaces at either end (every space with
// everySpace) are written %XX. Decoding refuses names of more than 15 bytes.
std::string EncodeRankName(const char* name, bool everySpace = false);
bool DecodeRankName(std::string_view text, std::string& name);

// "2-5:100" and back; the ranges of --start.
std::string FormatStageLevel(int stage, int level, int potions);
bool ParseStageLevel(const std::string& text, int& stage, int& level, int& potions);
