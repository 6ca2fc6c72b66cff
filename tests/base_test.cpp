// Strings, lines of text, rounding, the compass and the random generator.
#include <gtest/gtest.h>

#include "base/math_util.h"
#include "base/nstring.h"
#include "base/printable.h"
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

// What reaches a terminal from outside text: every byte that could hide,
// cut or rewrite the message is shown as an escape; readable text, other
// scripts included, stays as it is.
TEST(Printable, ControlBytesBrokenUtf8AndInvisibleCharactersAreEscapedAndLongTextCut) {
  using namespace std::string_literals;
  const std::pair<std::string, std::string> cases[] = {
      {"seed 3", "seed 3"},
      {"a\0b"s, "a\\x00b"},
      {"\x1B[2J\r\n\x7F", "\\x1B[2J\\x0D\\x0A\\x7F"},
      {"Hexe \xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80", "Hexe \xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80"},
      {"\xC3", "\\xC3"},                             // cut short
      {"\xC0\xAF", "\\xC0\\xAF"},                    // overlong '/'
      {"\xED\xA0\x80", "\\xED\\xA0\\x80"},           // a surrogate
      {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},  // past U+10FFFF
      {"\xC2\x85|\xE2\x80\xAE|\xEF\xBB\xBF|\xE2\x80\x8B", "\\u{0085}|\\u{202E}|\\u{FEFF}|\\u{200B}"},
      {"\xC2\xA0\xE2\x80\xAF", "\xC2\xA0\xE2\x80\xAF"},  // spaces that show as spaces
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Printable(text), shown) << shown;
  EXPECT_EQ(Printable(std::string(kPrintableBytes, 'x')), std::string(kPrintableBytes, 'x'));
  EXPECT_EQ(Printable(std::string(50 << 20, 'x')), std::string(kPrintableBytes, 'x') + "... (52428800 bytes)");
  // An escape counts as the bytes it shows.
  EXPECT_EQ(Printable("ab\n" + std::string(kPrintableBytes, 'x')),
            "ab\\x0A" + std::string(kPrintableBytes - 6, 'x') + "... (123 bytes)");
}
