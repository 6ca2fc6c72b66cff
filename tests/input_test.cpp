#include <gtest/gtest.h>

#include <string>

#include "app/app_block.h"
#include "app/main_loop.h"
#include "input/input.h"
#include "input/key_names.h"

namespace {

int Key(const char* name) { return *KeyCodeFromName(name); }

void Tap(const char* name) {
  FeedKeyEvent(Key(name), true);
  FeedKeyEvent(Key(name), false);
}

std::string Typed() {
  NString text;
  ReadTypedText(text);
  return text.Str();
}

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override { InitInput(); }
  void TearDown() override { ReleaseInput(); }
};

}  // namespace

TEST_F(InputTest, AHeldKeyIsPressedInItsFirstFrameOnlyAndAgainAfterARelease) {
  FeedKeyEvent(key::kSpace, true);
  UpdateInput();
  EXPECT_EQ(IsKeyPressed(key::kSpace), 1);
  EXPECT_EQ(IsKeyDown(key::kSpace), 1);
  for (int frame = 0; frame < 5; ++frame) {
    UpdateInput();
    EXPECT_EQ(IsKeyPressed(key::kSpace), 0);
    EXPECT_EQ(IsKeyDown(key::kSpace), 1);
  }
  FeedKeyEvent(key::kSpace, false);
  UpdateInput();
  EXPECT_EQ(IsKeyDown(key::kSpace), 0);
  FeedKeyEvent(key::kSpace, true);
  UpdateInput();
  EXPECT_EQ(IsKeyPressed(key::kSpace), 1);
  EXPECT_EQ(IsKeyPressed(key::kEnter), 0);
  EXPECT_EQ(IsKeyPressed(-1), 0);
  EXPECT_EQ(IsKeyPressed(256), 0);
  // The state is polled: a tap between two frames is not seen.
  FeedKeyEvent(key::kSpace, false);
  UpdateInput();
  Tap("SPACE");
  UpdateInput();
  EXPECT_EQ(IsKeyPressed(key::kSpace), 0);
}

TEST_F(InputTest, RightWinsOverLeft) {
  UpdateInput();
  EXPECT_EQ(GetKeyHorizontal(), -1);
  FeedKeyEvent(key::kLeft, true);
  UpdateInput();
  EXPECT_EQ(GetKeyHorizontal(), 16);
  FeedKeyEvent(key::kRight, true);
  UpdateInput();
  EXPECT_EQ(GetKeyHorizontal(), 0);
  FeedKeyEvent(key::kLeft, false);
  UpdateInput();
  EXPECT_EQ(GetKeyHorizontal(), 0);
}

TEST_F(InputTest, WithoutAKeyboardEveryKeyQueryAnswersNothing) {
  ReleaseInput();
  FeedKeyEvent(key::kRight, true);
  FeedKeyEvent(key::kSpace, true);
  UpdateInput();
  EXPECT_EQ(IsKeyPressed(key::kSpace), 0);
  EXPECT_EQ(GetKeyHorizontal(), -1);
  EXPECT_EQ(Typed(), "");
}

TEST_F(InputTest, PausingReleasesTheKeyboardAndResumingReadsTheKeysHeldNow) {
  FeedKeyEvent(key::kLeft, true);
  FeedKeyEvent(key::kRight, true);
  GetAppBlock().paused = 1;
  ApplyPause();
  UpdateInput();
  EXPECT_EQ(GetKeyHorizontal(), -1);  // nothing is seen while paused
  Tap("A");
  FeedKeyEvent(key::kRight, false);
  FeedKeyEvent(key::kSpace, true);
  UpdateInput();
  EXPECT_EQ(IsKeyDown(key::kSpace), 0);
  GetAppBlock().paused = 0;
  ApplyPause();
  Tap("B");
  UpdateInput();
  // Left was held through the pause, Right let go and Space pressed during it.
  EXPECT_EQ(GetKeyHorizontal(), 16);
  EXPECT_EQ(IsKeyPressed(key::kSpace), 1);
  // The left arrow went down before the pause: it types a backspace; the A
  // typed while paused is lost.
  EXPECT_EQ(Typed(), "\bB");
}

TEST(Joystick, ThresholdsLieTenPercentInsideEachEndAndAreStrict) {
  struct Case {
    int x, y, direction, horizontal;
  };
  const Case cases[] = {
      {0, 0, -1, -1},        {26214, 0, -1, -1},   // exactly on the right threshold: centred
      {26215, 0, 0, 0},      {-26215, 0, -1, -1},  // exactly on the left threshold: centred
      {-26216, 0, 16, 16},   {0, -26215, -1, -1},   {0, -26216, 8, -1},       {0, 26214, -1, -1},
      {0, 26215, 24, -1},    {32767, -32768, 4, 0}, {-32768, -32768, 12, 16}, {-32768, 32767, 20, 16},
      {32767, 32767, 28, 0}, {26215, 26214, 0, 0},
  };
  for (const Case& c : cases) {
    JoystickReading r{true, c.x, c.y, 0};
    EXPECT_EQ(JoyDirection(r), c.direction) << c.x << "," << c.y;
    EXPECT_EQ(JoyHorizontal(r), c.horizontal) << c.x << "," << c.y;
  }
  // Without a pad, even a reading pushed to a corner is centred.
  EXPECT_EQ(JoyDirection({false, 32767, 32767, 0}), -1);
  EXPECT_EQ(JoyHorizontal({false, -32768, 0, 0}), -1);
}

TEST_F(InputTest, ADirectionIsEnteredOnceAndMovingOnEntersTheNext) {
  FeedJoystickState(true, 0, 0, 0);
  UpdateInput();
  FeedJoystickState(true, 30000, -30000, 0);  // upper right
  UpdateInput();
  EXPECT_EQ(IsJoyDirectionEntered(4), 1);
  EXPECT_EQ(IsJoyDirectionEntered(8), 0);
  UpdateInput();
  EXPECT_EQ(IsJoyDirectionEntered(4), 0);
  FeedJoystickState(true, 0, -30000, 0);  // straight up
  UpdateInput();
  EXPECT_EQ(IsJoyDirectionEntered(8), 1);
  EXPECT_EQ(GetJoyHorizontal(), -1);
}

TEST_F(InputTest, PadButtonsCountOnceWhenTheyGoDownAndOnlyZeroToThree) {
  FeedJoystickState(true, 0, 0, 0b10011);
  UpdateInput();
  EXPECT_EQ(IsJoyButtonPressed(0), 1);
  EXPECT_EQ(IsJoyButtonPressed(1), 1);
  EXPECT_EQ(IsJoyButtonPressed(2), 0);
  EXPECT_EQ(IsJoyButtonPressed(4), 0);  // the game reads four buttons only
  EXPECT_EQ(IsJoyButtonPressed(-1), 0);
  FeedJoystickState(true, 0, 0, 0b11011);
  UpdateInput();
  EXPECT_EQ(IsJoyButtonPressed(0), 0);
  EXPECT_EQ(IsJoyButtonPressed(3), 1);
}

TEST_F(InputTest, APulledOutPadReadsCentredWithNoButtons) {
  FeedJoystickState(true, -32768, -32768, 0b1111);
  UpdateInput();
  EXPECT_EQ(GetJoyHorizontal(), 16);
  FeedJoystickState(false, -32768, -32768, 0b1111);
  UpdateInput();
  EXPECT_EQ(GetJoyHorizontal(), -1);
  for (int d = 0; d < 32; d += 4) EXPECT_EQ(IsJoyDirectionEntered(d), 0) << d;
  EXPECT_EQ(IsJoyDirectionEntered(-1), 0);
  // Plugged in again with the first button held: a new press.
  FeedJoystickState(true, 0, 0, 1);
  UpdateInput();
  EXPECT_EQ(IsJoyButtonPressed(0), 1);
  EXPECT_EQ(GetJoyHorizontal(), -1);
}

TEST_F(InputTest, WithoutAPadEveryPadQueryAnswersNothing) {
  UpdateInput();
  UpdateInput();
  EXPECT_EQ(GetJoyHorizontal(), -1);
  EXPECT_EQ(IsJoyButtonPressed(0), 0);
  for (int d = -1; d < 32; ++d) EXPECT_EQ(IsJoyDirectionEntered(d), 0) << d;
}

TEST_F(InputTest, TypedKeysTranslateByTheTable) {
  for (const char* name : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"}) Tap(name);
  EXPECT_EQ(Typed(), "1234567890");
  for (const char* name : {"KP_1", "KP_2", "KP_3", "KP_4", "KP_5", "KP_6", "KP_7", "KP_8", "KP_9", "KP_0"}) {
    Tap(name);
  }
  EXPECT_EQ(Typed(), "1234567890");
  for (const char* name :
       {"MINUS", "KP_MINUS", "PERIOD", "KP_PERIOD", "SPACE", "BACKSPACE", "LEFT", "RETURN", "KP_ENTER"}) {
    Tap(name);
  }
  EXPECT_EQ(Typed(), "--.. \b\b\n\n");
  std::string letters;
  for (char c = 'A'; c <= 'Z'; ++c) {
    Tap(std::string(1, c).c_str());
    if (c == 'J' || c == 'T' || c == 'Z') letters += Typed();  // ten at most per read
  }
  EXPECT_EQ(letters, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  // Keys outside the table type nothing, nor do key releases on their own;
  // the keypad 5 after them still does.
  for (const char* name : {"RIGHT", "UP", "DOWN", "LCTRL", "RCTRL", "LSHIFT", "TAB", "F12", "ESCAPE", "KP_5"}) {
    FeedKeyEvent(Key(name), true);
  }
  FeedKeyEvent(Key("Q"), false);
  EXPECT_EQ(Typed(), "5");
}

TEST_F(InputTest, AReadKeepsTheFirstTenCharactersAndDropsTheRest) {
  for (const char* name : {"V", "E", "L", "L", "O", "R", "I", "A", "W", "I", "T", "C", "H"}) Tap(name);
  EXPECT_EQ(Typed(), "VELLORIAWI");
  EXPECT_EQ(Typed(), "");
  // Characters already in the text count towards the ten.
  for (const char* name : {"A", "B", "C", "D"}) Tap(name);
  NString text("NAMEPART");
  ReadTypedText(text);
  EXPECT_EQ(text.Str(), "NAMEPARTAB");
  EXPECT_EQ(Typed(), "");
  // A text that is already full still takes the first character.
  Tap("X");
  Tap("Y");
  NString full("0123456789");
  ReadTypedText(full);
  EXPECT_EQ(full.Str(), "0123456789X");
}

TEST_F(InputTest, FlushDiscardsEverythingTypedSoFar) {
  Tap("A");
  Tap("B");
  FlushTypedText();
  Tap("C");
  EXPECT_EQ(Typed(), "C");
}

TEST_F(InputTest, TheBufferHolds160EventsAndLosesTheNewerOnes) {
  // 158 releases take room but type nothing; of the three presses after
  // them only two fit.
  for (int i = 0; i < 158; ++i) FeedKeyEvent(Key("Q"), false);
  FeedKeyEvent(Key("A"), true);
  FeedKeyEvent(Key("B"), true);
  FeedKeyEvent(Key("C"), true);
  EXPECT_EQ(Typed(), "AB");
  // Reading emptied the buffer.
  FeedKeyEvent(Key("D"), true);
  EXPECT_EQ(Typed(), "D");
  // The held state is not limited by the buffer.
  UpdateInput();
  EXPECT_EQ(IsKeyDown(Key("C")), 1);
}
