// Keys, typed text, the pad and input files.
#include <gtest/gtest.h>

#include "app/app_block.h"
#include "app/input_script.h"
#include "app/main_loop.h"
#include "input/input.h"
#include "input/joystick.h"
#include "input/key_names.h"

namespace {

int Key(const char* name) { return *KeyCodeFromName(name); }

void Tap(const char* name) {
  FeedKeyEvent(Key(name), true);
  FeedKeyEvent(Key(name), false);
}

std::string Typed(std::string text = "") {
  NString typed(text.c_str());
  ReadTypedText(typed);
  return typed.Str();
}

class Input : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAppBlock();
    InitInput();
  }
  void TearDown() override { ReleaseInput(); }
};

}  // namespace

TEST_F(Input, AHeldKeyIsPressedInItsFirstFrameOnlyAndRightWinsOverLeft) {
  FeedKeyEvent(key::kSpace, true);
  FeedKeyEvent(key::kLeft, true);
  UpdateInput();
  EXPECT_EQ(IsKeyPressed(key::kSpace), 1);
  EXPECT_EQ(GetKeyHorizontal(), 16);
  FeedKeyEvent(key::kRight, true);
  UpdateInput();
  EXPECT_EQ(IsKeyPressed(key::kSpace), 0);
  EXPECT_EQ(IsKeyDown(key::kSpace), 1);
  EXPECT_EQ(GetKeyHorizontal(), 0);
  // The state is polled: a tap between two frames is not seen.
  FeedKeyEvent(key::kSpace, false);
  UpdateInput();
  Tap("SPACE");
  UpdateInput();
  EXPECT_EQ(IsKeyPressed(key::kSpace), 0);
  EXPECT_EQ(Typed(), " \b ");  // Space and Left type too
  // Paused, the keyboard takes nothing in; resumed, it reads the keys held
  // now: Left held through the pause, Right let go and Space pressed during it.
  GetAppBlock().paused = 1;
  ApplyPause();
  Tap("A");
  FeedKeyEvent(key::kRight, false);
  FeedKeyEvent(key::kSpace, true);
  UpdateInput();
  EXPECT_EQ(GetKeyHorizontal(), -1);
  EXPECT_EQ(IsKeyDown(key::kSpace), 0);
  EXPECT_EQ(Typed(), "");
  GetAppBlock().paused = 0;
  ApplyPause();
  UpdateInput();
  EXPECT_EQ(GetKeyHorizontal(), 16);
  EXPECT_EQ(IsKeyPressed(key::kSpace), 1);
}

TEST_F(Input, KeysTypeByTheTableTenCharactersAReadAtMost) {
  for (std::string text : {"1234567890", "KLMNOPQRST", "UVWXYZ"}) {
    for (char c : text) Tap(std::string(1, c).c_str());
    EXPECT_EQ(Typed(), text);
  }
  for (char c : std::string("1234567890")) Tap(("KP_" + std::string(1, c)).c_str());
  EXPECT_EQ(Typed(), "1234567890");
  for (const char* name : {"MINUS", "KP_MINUS", "PERIOD", "KP_PERIOD", "SPACE"}) Tap(name);
  EXPECT_EQ(Typed(), "--.. ");
  for (const char* name : {"BACKSPACE", "LEFT", "RETURN", "KP_ENTER", "RIGHT", "UP", "LCTRL", "F12", "ESCAPE"}) {
    Tap(name);
  }
  EXPECT_EQ(Typed(), "\b\b\n\n");
  for (char c = 'A'; c <= 'Z'; ++c) Tap(std::string(1, c).c_str());
  EXPECT_EQ(Typed(), "ABCDEFGHIJ");  // the rest of the buffer is dropped
  EXPECT_EQ(Typed(), "");
  for (const char* name : {"Q", "W", "E"}) Tap(name);
  EXPECT_EQ(Typed("NAMEPART"), "NAMEPARTQW");  // what the text holds counts
  Tap("Z");
  EXPECT_EQ(Typed("0123456789"), "0123456789Z");  // a full text still takes one
  Tap("A");
  FlushTypedText();
  Tap("B");
  EXPECT_EQ(Typed(), "B");
  // The buffer holds 160 events, ups included, and loses the newer ones.
  for (int i = 0; i < 158; ++i) FeedKeyEvent(Key("X"), false);
  Tap("Y");
  Tap("Z");
  EXPECT_EQ(Typed(), "Y");
}

TEST_F(Input, ThePadCountsTenPercentInsideEachEndAndButtonsWhenTheyGoDown) {
  struct Case {
    int x, y, direction, horizontal;
  } cases[] = {{26214, 0, -1, -1},    {26215, 0, 0, 0},        {-26215, 0, -1, -1},      {-26216, 0, 16, 16},
               {0, -26215, -1, -1},   {0, -26216, 8, -1},      {0, 26214, -1, -1},       {0, 26215, 24, -1},
               {32767, -32768, 4, 0}, {-32768, 32767, 20, 16}, {-32768, -32768, 12, 16}, {32767, 32767, 28, 0}};
  for (const Case& c : cases) {
    JoystickReading r{true, c.x, c.y, 0};
    EXPECT_EQ(JoyDirection(r), c.direction) << c.x << "," << c.y;
    EXPECT_EQ(JoyHorizontal(r), c.horizontal) << c.x << "," << c.y;
  }
  FeedJoystickState(true, 30000, -30000, 0b11011);
  UpdateInput();
  EXPECT_EQ(IsJoyDirectionEntered(4), 1);
  EXPECT_EQ(IsJoyButtonPressed(0) + IsJoyButtonPressed(1) + IsJoyButtonPressed(3) + IsJoyButtonPressed(4),
            3);  // buttons 0..3 only
  UpdateInput();
  EXPECT_EQ(IsJoyDirectionEntered(4) + IsJoyButtonPressed(0), 0);
  // Pulled out: centred with no buttons; plugged in again, a new press.
  FeedJoystickState(false, -32768, 0, 0b1111);
  UpdateInput();
  EXPECT_EQ(GetJoyHorizontal(), -1);
  FeedJoystickState(true, 0, 0, 1);
  UpdateInput();
  EXPECT_EQ(IsJoyButtonPressed(0), 1);
}

TEST(InputFile, EventsReadAndWriteInOneFormatAndABadLineIsNamed) {
  std::string text =
      "# a session\nseed 77\nhold-to-fire on\n0 +SPACE   # fire\n  2 -KP_ENTER\n\n5 focus-\n9 focus+\n"
      "10 joy -32768 32767 5\n11 joy none\n";
  std::string error;
  auto script = ParseInputScript(text, error);
  ASSERT_TRUE(script) << error;
  EXPECT_EQ(script->seed, 77u);
  EXPECT_TRUE(script->holdToFire);
  std::string written;
  for (const ScriptedEvent& e : script->events) written += FormatScriptedEvent(e) + "\n";
  EXPECT_EQ(written, "0 +SPACE\n2 -KP_ENTER\n5 focus-\n9 focus+\n10 joy -32768 32767 5\n11 joy none\n");
  for (const char* bad : {"1 +NOSUCHKEY", "x +A", "1 A", "-1 +A", "seed -4", "1 joy 1 2", "1 joy 32768 0 0",
                          "1 joy 0 -32769 0", "1 focus", "1 +A extra", "hold-to-fire on", "hold-to-fire"}) {
    EXPECT_FALSE(ParseInputScript(std::string("# ok\n0 +A\n") + bad + "\n", error)) << bad;
    bool second = std::string(bad).find('\n') != std::string::npos;
    EXPECT_NE(error.find(second ? "line 4" : "line 3"), std::string::npos) << bad << ": " << error;
  }
  // A line moved by hand plays at its frame, after the frame's earlier lines.
  script = ParseInputScript("5 +A\n4 -B\n5 -A\n2 +C\n", error);
  ASSERT_TRUE(script) << error;
  written.clear();
  for (const ScriptedEvent& e : script->events) written += FormatScriptedEvent(e) + "\n";
  EXPECT_EQ(written, "2 +C\n4 -B\n5 +A\n5 -A\n");
}
