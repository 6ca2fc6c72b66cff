#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "base/resources.h"
#include "base/string_list.h"
#include "script/script.h"

namespace {

std::span<const uint8_t> Bytes(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

NScript ParseText(const std::string& text) {
  NStringList lines;
  lines.LoadFromBytes(Bytes(text));
  NScript script;
  script.Parse(lines);
  return script;
}

std::vector<std::vector<int>> Records(const NScript& script) {
  std::vector<std::vector<int>> out;
  for (uint32_t i = 0; i < script.GetCount(); ++i) {
    const NScriptCommand& c = script.GetCommand(i);
    out.push_back({c.opcode, c.arg1, c.arg2});
  }
  return out;
}

using R = std::vector<std::vector<int>>;

const std::string kEndLine = "~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~END_OF_FILE~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~\r\n";

// The word GAME of the game-over notice, exactly as the resource holds it.
const std::string kGameWord =
    "// Game\r\n"
    "\r\n"
    "DIRECTION 29\r\n"
    "SPEED 20\r\n"
    "\r\n"
    "MOVE 22\r\n"
    "\r\n"
    "STOP 75\r\n"
    "\r\n"
    "LABEL 1 \r\n"
    "MOVE 100\r\n"
    "GOTO_LABEL 1\r\n"
    "\r\n" +
    kEndLine;

}  // namespace

TEST(ScriptParser, GameWordScriptFromItsResourceGivesSevenRecords) {
  OverrideResource(ResourceType::Text, 9165, Bytes(kGameWord));
  NScript script(9165);
  OverrideResource(ResourceType::Text, 9165, {});
  EXPECT_EQ(Records(script), (R{{7, 29, 0}, {5, 20, 0}, {1, 22, 0}, {2, 75, 0}, {12, 1, 0}, {1, 100, 0}, {13, 1, 0}}));
}

TEST(ScriptParser, MissingResourceGivesAnEmptyScript) {
  NScript script(9999);
  EXPECT_EQ(script.GetCount(), 0u);
  EXPECT_EQ(script.FindLabel(1), -1);
}

TEST(ScriptParser, KeywordsAreMatchedExactlyInOpcodeOrder) {
  const char* words[] = {"MOVE",
                         "STOP",
                         "SHIFT_X",
                         "SHIFT_Y",
                         "SPEED",
                         "SPEED_PERCENT",
                         "DIRECTION",
                         "DIRECTION_TO_MYCHARA",
                         "DIRECTION_REVERSE",
                         "ROTATE_LEFT",
                         "ROTATE_RIGHT",
                         "LABEL",
                         "GOTO_LABEL",
                         "SET_FRAME",
                         "INCR_FRAME",
                         "REPEAT",
                         "REPEAT_END",
                         "SHOOT",
                         "SET_BULLET_OFFSET",
                         "PLAY_SOUND",
                         "GOSUB",
                         "RETURN"};
  std::string text;
  for (const char* w : words) text += std::string(w) + " 3\r\n";
  NScript script = ParseText(text);
  ASSERT_EQ(script.GetCount(), 22u);
  for (uint32_t i = 0; i < 22; ++i) {
    EXPECT_EQ(script.GetCommand(i).opcode, static_cast<int>(i + 1)) << words[i];
    EXPECT_STREQ(ScriptKeyword(static_cast<int>(i + 1)), words[i]);
  }
  // Prefixes, lower case, a tab instead of a space: all unknown words.
  EXPECT_EQ(Records(ParseText("move 5\nMOVE_X 2\nMOV 1\nMOVE\t5\nREPEAT_END_ 1\n")),
            (R{{0, 5, 0}, {0, 2, 0}, {0, 1, 0}, {0, 0, 0}, {0, 1, 0}}));
}

TEST(ScriptParser, BlanksCommentsAndTrailingSpacesLeaveNoTrace) {
  NScript script = ParseText(
      "  // Up-Down\r\n"
      "   \r\n"
      "RETURN \r\n"
      "   LABEL 1   \r\n"
      "MOVE 4 // the rest of a line after a number is ignored\r\n"
      "/ not a comment\r\n");
  EXPECT_EQ(Records(script), (R{{22, 0, 0}, {12, 1, 0}, {1, 4, 0}, {0, 0, 0}}));
}

TEST(ScriptParser, MissingArgumentsReadAsZero) {
  EXPECT_EQ(Records(ParseText("INCR_FRAME\nDIRECTION_TO_MYCHARA\nDIRECTION_TO_MYCHARA 7\nMOVE\n"
                              "SPEED fast\nSTOP -\n")),
            (R{{15, 0, 0}, {8, 0, 0}, {8, 7, 0}, {1, 0, 0}, {5, 0, 0}, {2, 0, 0}}));
}

TEST(ScriptParser, CommaSplitsOnlyWhenSomethingStandsBeforeIt) {
  EXPECT_EQ(Records(ParseText("SET_BULLET_OFFSET 0,4\n"
                              "SET_BULLET_OFFSET 0 , 4\n"
                              "SET_BULLET_OFFSET    0,   4  \n"
                              "SET_BULLET_OFFSET ,5\n"
                              "SET_BULLET_OFFSET -14,-96\n"
                              "SET_BULLET_OFFSET 1,,2\n"
                              "SET_BULLET_OFFSET 7\n"
                              "SET_BULLET_OFFSET 3,\n")),
            (R{{19, 0, 4}, {19, 0, 4}, {19, 0, 4}, {19, 0, 0}, {19, -14, -96}, {19, 1, 2}, {19, 7, 0}, {19, 3, 0}}));
}

TEST(ScriptParser, TildeLineEndsTheTextButALaterTildeDoesNot) {
  EXPECT_EQ(Records(ParseText("MOVE 1\nSTOP 2~\n  ~\nMOVE 3\n")), (R{{1, 1, 0}, {2, 2, 0}}));
  EXPECT_EQ(Records(ParseText("~~~END~~~\nMOVE 3\n")), R{});
}

TEST(ScriptParser, LastLineWithoutLineEndIsStillRead) {
  EXPECT_EQ(Records(ParseText("SPEED 4\r\nMOVE 3")), (R{{5, 4, 0}, {1, 3, 0}}));
  EXPECT_EQ(Records(ParseText("STOP 9")), (R{{2, 9, 0}}));
}

TEST(ScriptParser, NumbersReadLikeTheDecimalConversionAndStickAtThirtyTwoBits) {
  EXPECT_EQ(ParseScriptNumber("42"), 42);
  EXPECT_EQ(ParseScriptNumber("  \t-17xyz"), -17);
  EXPECT_EQ(ParseScriptNumber("+8"), 8);
  EXPECT_EQ(ParseScriptNumber("- 8"), 0);
  EXPECT_EQ(ParseScriptNumber("0x1F"), 0);
  EXPECT_EQ(ParseScriptNumber(""), 0);
  EXPECT_EQ(ParseScriptNumber("2147483647"), INT_MAX);
  EXPECT_EQ(ParseScriptNumber("2147483648"), INT_MAX);
  EXPECT_EQ(ParseScriptNumber("-2147483648"), INT_MIN);
  EXPECT_EQ(ParseScriptNumber("-99999999999999999999999"), INT_MIN);
  EXPECT_EQ(ParseScriptNumber("00000000000000000000012"), 12);
}

TEST(ScriptParser, LabelsResolveToTheirFirstOccurrence) {
  NScript script = ParseText("LABEL 2\nMOVE 1\nLABEL 1\nLABEL 2\nlabel 3\nLABEL -4\n");
  EXPECT_EQ(script.FindLabel(2), 0);
  EXPECT_EQ(script.FindLabel(1), 2);
  EXPECT_EQ(script.FindLabel(3), -1);  // lower case is no LABEL
  EXPECT_EQ(script.FindLabel(-4), 5);
  EXPECT_EQ(script.FindLabel(9), -1);
}
