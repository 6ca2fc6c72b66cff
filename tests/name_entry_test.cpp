// The name entry after a game that ranks: what typing does to the name,
// what happens to keys typed before it opened, and the hot keys around it.
#include <gtest/gtest.h>

#include "audio/game_sounds.h"
#include "scenes/input_text.h"
#include "tests/doubles.h"

namespace {

// Scan codes by keyboard row; '<' is Backspace, '{' the Left arrow, '\n' Enter.
int KeyOf(char c) {
  const std::string rows[] = {"1234567890-", "QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  const int starts[] = {2, 16, 30, 44};
  for (int r = 0; r < 4; ++r) {
    if (size_t at = rows[r].find(c); at != std::string::npos) return starts[r] + static_cast<int>(at);
  }
  return c == ' ' ? 57 : c == '.' ? 52 : c == '<' ? 14 : c == '{' ? 203 : c == '\n' ? 28 : -1;
}

class NameEntry : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    entry = std::make_unique<NInputText>();
    entry->SetSurface(GetBackSurface());
    entry->SetText(NString(""), 15);
  }
  // One key pressed and released per frame.
  void Type(const std::string& keys) {
    for (char c : keys) {
      FeedKeyEvent(KeyOf(c), true);
      FeedKeyEvent(KeyOf(c), false);
      entry->Update();
    }
  }
  std::unique_ptr<NInputText> entry;
};

}  // namespace

TEST_F(NameEntry, TakesCapitalsDigitsDashFullStopAndSpaceUpToFifteen) {
  entry->Begin();
  Type("WIZ 09.-");
  EXPECT_EQ(entry->GetText().Str(), "WIZ 09.-");
  Type("ABCDEFGH");  // the 16th character is dropped
  EXPECT_EQ(entry->GetText().Str(), "WIZ 09.-ABCDEFG");
  EXPECT_FALSE(entry->IsFinished());
}

TEST_F(NameEntry, BackspaceAndTheLeftArrowRubOutTheLastCharacter) {
  entry->Begin();
  Type("ABC<");
  EXPECT_EQ(entry->GetText().Str(), "AB");
  Type("{{{D");
  EXPECT_EQ(entry->GetText().Str(), "D");
}

TEST_F(NameEntry, KeysTypedDuringPlayAreDroppedWhenItOpens) {
  for (char c : std::string("SPACE\n")) FeedKeyEvent(KeyOf(c), true);
  entry->Begin();
  entry->Update();
  EXPECT_EQ(entry->GetText().Str(), "");
  EXPECT_FALSE(entry->IsFinished());
}

TEST_F(NameEntry, PAndSAreLettersUntilEnterEndsItThenHotKeysAgain) {
  entry->Begin();
  EXPECT_EQ(GetAppBlock().hotkeysEnabled, 0);
  Type("PS");
  EXPECT_EQ(entry->GetText().Str(), "PS");
  sounds->played.clear();
  // What follows Enter in the same frame is dropped.
  for (char c : std::string("\nX")) FeedKeyEvent(KeyOf(c), true);
  entry->Update();
  EXPECT_TRUE(entry->IsFinished());
  EXPECT_EQ(entry->GetText().Str(), "PS");
  EXPECT_EQ(GetAppBlock().hotkeysEnabled, 1);
  EXPECT_EQ(sounds->played, std::vector<int>{sound::kChime});
}
