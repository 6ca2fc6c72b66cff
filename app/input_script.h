#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/run_start.h"

// A recorded or hand-written session: events tied to the frame (clock tick)
// before which they are delivered.
//
//   # comment
//   seed 1234
//   hold-to-fire on  a held fire key fires again every fourth frame
//   25 +SPACE        key down before frame 25
//   27 -SPACE        key up
//   300 focus-       the program is switched away from (focus+ returns)
//   40 joy -32768 0 1    pad axes and button mask; "40 joy none" unplugs it
//   version velloria 0.1.0 rules 3f2a9c1e5b7d0a44   the game that recorded it
//   check 250 1a2b3c4d   the state's digest after frame 250
//   end 979              the replay ends after this frame
// A run kept alone has the header lines of run_start.h after the version.
struct ScriptedEvent {
  enum class Kind { KeyDown, KeyUp, FocusLost, FocusGained, Joystick, JoystickNone };
  int64_t frame = 0;
  Kind kind = Kind::KeyDown;
  int key = 0;
  int joyX = 0;
  int joyY = 0;
  uint32_t joyButtons = 0;
};

struct StateCheck {
  int64_t frame = 0;
  uint32_t digest = 0;
};

struct InputScript {
  std::optional<uint32_t> seed;
  // The session was played with hold to fire; a header line, before any event.
  bool holdToFire = false;
  // The recording game's VersionText(); empty when the file names none.
  std::string version;
  // The file replays one run alone, from its game start.
  std::optional<RunStart> run;
  std::vector<ScriptedEvent> events;  // by frame; one frame's in file order
  std::vector<StateCheck> checks;     // frames ascending
  // The last frame the file plays: a kept run cut short ends there too.
  std::optional<int64_t> end;
};

// Parses an input file's text. On a malformed line returns nothing and sets
// error to a message naming the line.
std::optional<InputScript> ParseInputScript(const std::string& text, std::string& error);
std::optional<InputScript> LoadInputScript(const std::string& path, std::string& error);

// One line of the same format for an event (used by --record).
std::string FormatScriptedEvent(const ScriptedEvent& event);
std::string FormatStateCheck(const StateCheck& check);
// A whole file: the header, then the events and checks in frame order.
std::string FormatInputScript(const InputScript& script);
