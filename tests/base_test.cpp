// Strings, lines of text, rounding, the compass and the random generator.
#include <gtest/gtest.h>

#include "base/math_util.h"
#include "base/nstring.h"
#include "base/string_list.h"

TEST(NString, TrimAndMidKeepTheirOddRules) {
  struct Case {
    const char* text;
    int mode;
    char ch;
    const char* expected;
  } cases[] = {{"  LABEL 1 ", 2, ' ', "LABEL 1"},
               {"     ", 2, ' ', ""},
               {"  a  ", 0, ' ', "a  "},
               {"  a  ", 1, ' ', "  a"},
               {",,4,", 2, ',', "4"},
               {"  a  ", 3, ' ', "  a  "},
               {"\ta ", 2, ' ', "\ta"}};
  for (const Case& c : cases) {
    NString s(c.text);
    s.Trim(c.mode, c.ch);
    EXPECT_EQ(s.Str(), c.expected) << "\"" << c.text << "\" mode " << c.mode;
  }
  // Mid takes an inclusive range cut at the end; indices compare unsigned.
  NString move("MOVE 18");
  EXPECT_EQ(move.Mid(4, 6).Str(), " 18");
  EXPECT_EQ(move.Mid(5, 100).Str(), "18");
  EXPECT_EQ(move.Mid(7, 9).Str(), "");
  EXPECT_EQ(move.Mid(2, 1).Str(), "");
  EXPECT_EQ(move.Mid(-1, 2).Str(), "");
  EXPECT_EQ(move.Mid(0, -1).Str(), "MOVE 18");
  EXPECT_EQ(move.Find(' ', 0), 4);
  EXPECT_EQ(move.Find('M', 1), -1);
}

TEST(NStringList, LinesEndAfterEachLineFeedWithTheirLineEndAsSpaces) {
  auto load = [](const std::string& text) {
    NStringList list;
    list.LoadFromBytes({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
    std::string out;
    for (uint32_t i = 0; i < list.GetCount(); ++i) out += "[" + list.GetAt(i).Str() + "]";
    return out;
  };
  EXPECT_EQ(load("one\r\n\r\ntwo\r\n"), "[one  ][  ][two  ]");
  EXPECT_EQ(load("A\nB"), "[A ][B]");
  EXPECT_EQ(load("x\ry"), "[x\ry]");  // a CR without LF stays
  EXPECT_EQ(load(""), "");
  NStringList list;
  EXPECT_EQ(list.LoadFromResource(9999), 0);
}

TEST(Numbers, RoundingTheCompassAndTheGeneratorAreTheSameEverywhere) {
  EXPECT_EQ(RoundToInt(2.5), 3);
  EXPECT_EQ(RoundToInt(-2.5), -3);
  EXPECT_EQ(RoundToInt(-2.49), -2);
  EXPECT_EQ(RoundToInt(-0.7), -1);
  EXPECT_EQ(RoundToInt(1e12), 2147483647);
  EXPECT_EQ(RoundToInt(-1e12), -2147483647 - 1);
  // Three decimals, rounded half away from zero.
  FillDirectionTables();
  EXPECT_EQ(cosTable[1], 0.981f);
  EXPECT_EQ(sinTable[1], 0.195f);
  EXPECT_EQ(sinTable[4], 0.707f);
  EXPECT_EQ(sinTable[20], -0.707f);
  EXPECT_EQ(cosTable[8], 0.0f);
  EXPECT_EQ(sinTable[24], -1.0f);
  // The classic generator's first values for seed 1.
  SeedRandom(1);
  EXPECT_EQ(Random(32768), 41);
  EXPECT_EQ(Random(32768), 18467);
  EXPECT_EQ(Random(32768), 6334);
}
