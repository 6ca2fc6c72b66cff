#include <gtest/gtest.h>

#include "app/input_script.h"

using Kind = ScriptedEvent::Kind;

TEST(InputScript, ParsesKeysFocusPadSeedAndComments) {
  std::string error;
  auto script = ParseInputScript(
      "# a session\n"
      "seed 77\n"
      "0 +SPACE   # fire\n"
      "  2 -SPACE\n"
      "\n"
      "2 +KP_ENTER\n"
      "5 focus-\n"
      "9 focus+\n"
      "10 joy -32768 32767 5\n"
      "11 joy none\n",
      error);
  ASSERT_TRUE(script) << error;
  EXPECT_EQ(script->seed, 77u);
  ASSERT_EQ(script->events.size(), 7u);
  EXPECT_EQ(script->events[0].kind, Kind::KeyDown);
  EXPECT_EQ(script->events[0].key, 0x39);
  EXPECT_EQ(script->events[1].kind, Kind::KeyUp);
  EXPECT_EQ(script->events[2].key, 0x9C);
  EXPECT_EQ(script->events[3].kind, Kind::FocusLost);
  EXPECT_EQ(script->events[4].kind, Kind::FocusGained);
  EXPECT_EQ(script->events[5].kind, Kind::Joystick);
  EXPECT_EQ(script->events[5].joyX, -32768);
  EXPECT_EQ(script->events[5].joyButtons, 5u);
  EXPECT_EQ(script->events[6].kind, Kind::JoystickNone);
}

TEST(InputScript, MalformedLinesNameTheLine) {
  const char* bad[] = {
      "1 +NOSUCHKEY",    "x +A",       "1 A",     "1 +",        "-1 +A", "seed", "seed -4", "1 joy 1 2",
      "1 joy 40000 0 0", "5 +A\n4 -A", "1 focus", "1 +A extra",
  };
  for (const char* text : bad) {
    std::string error;
    EXPECT_FALSE(ParseInputScript(std::string("# ok\n") + text + "\n", error)) << text;
    EXPECT_NE(error.find("line "), std::string::npos) << text;
  }
}

TEST(InputScript, FormattedEventsParseBackToTheSameEvents) {
  std::vector<ScriptedEvent> events = {
      {3, Kind::KeyDown, 0x1E},
      {4, Kind::KeyUp, 0xCB},
      {9, Kind::FocusLost},
      {12, Kind::FocusGained},
      {13, Kind::Joystick, 0, -200, 300, 9},
      {14, Kind::JoystickNone},
  };
  std::string text;
  for (const auto& e : events) text += FormatScriptedEvent(e) + "\n";
  std::string error;
  auto back = ParseInputScript(text, error);
  ASSERT_TRUE(back) << error;
  ASSERT_EQ(back->events.size(), events.size());
  for (size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(back->events[i].frame, events[i].frame);
    EXPECT_EQ(back->events[i].kind, events[i].kind);
    EXPECT_EQ(back->events[i].key, events[i].key);
    EXPECT_EQ(back->events[i].joyX, events[i].joyX);
    EXPECT_EQ(back->events[i].joyY, events[i].joyY);
    EXPECT_EQ(back->events[i].joyButtons, events[i].joyButtons);
  }
}
