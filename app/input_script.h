#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
struct ScriptedEvent {
  enum class Kind { KeyDown, KeyUp, FocusLost, FocusGained, Joystick, JoystickNone };
  int64_t frame = 0;
  Kind kind = Kind::KeyDown;
  int key = 0;
  int joyX = 0;
  int joyY = 0;
  uint32_t joyButtons = 0;
};

struct InputScript {
  std::optional<uint32_t> seed;
  // The session was played with hold to fire; a header line, before any event.
  bool holdToFire = false;
  std::vector<ScriptedEvent> events;  // in file order; frames never go back
};

// Parses an input file's text. On a malformed line returns nothing and sets
// error to a message naming the line.
std::optional<InputScript> ParseInputScript(const std::string& text, std::string& error);
std::optional<InputScript> LoadInputScript(const std::string& path, std::string& error);

// One line of the same format for an event (used by --record).
std::string FormatScriptedEvent(const ScriptedEvent& event);
