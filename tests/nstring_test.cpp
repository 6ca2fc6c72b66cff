#include <gtest/gtest.h>

#include "base/nstring.h"

TEST(NString, TrimRemovesOnlyTheGivenCharacterFromTheChosenEnds) {
  struct Case {
    const char* text;
    int mode;
    char ch;
    const char* expected;
  } cases[] = {
      {"  INCR_FRAME", 2, ' ', "INCR_FRAME"},
      {"LABEL 1 ", 2, ' ', "LABEL 1"},
      {"     ", 2, ' ', ""},
      {"  a  ", 0, ' ', "a  "},
      {"  a  ", 1, ' ', "  a"},
      {"0,", 2, ',', "0"},
      {",4", 2, ',', "4"},
      {",,,", 1, ',', ""},
      {"  a  ", 3, ' ', "  a  "},  // unknown mode changes nothing
      {"\ta ", 2, ' ', "\ta"},     // tabs are not blanks here
  };
  for (const Case& c : cases) {
    NString s(c.text);
    s.Trim(c.mode, c.ch);
    EXPECT_STREQ(s.GetBuffer(), c.expected) << "\"" << c.text << "\" mode " << c.mode;
  }
}

TEST(NString, MidTakesAnInclusiveIndexRangeCutAtTheEnd) {
  NString move("MOVE 18");
  EXPECT_EQ(move.Find(' ', 0), 4);
  EXPECT_STREQ(move.Mid(0, 4).GetBuffer(), "MOVE ");
  EXPECT_STREQ(move.Mid(4, 6).GetBuffer(), " 18");
  NString abc("abc");
  EXPECT_STREQ(abc.Mid(2, 100).GetBuffer(), "c");
  EXPECT_STREQ(abc.Mid(3, 5).GetBuffer(), "");
  EXPECT_STREQ(abc.Mid(2, 1).GetBuffer(), "");
  // Indices compare unsigned: a negative first index is past the end.
  EXPECT_STREQ(abc.Mid(-1, 2).GetBuffer(), "");
}

TEST(NString, FindAndEqualsAreExact) {
  EXPECT_EQ(NString("RETURN").Find(' ', 0), -1);
  EXPECT_EQ(NString("0,4").Find(',', 0), 1);
  EXPECT_EQ(NString("abc").Find('a', 3), -1);
  EXPECT_EQ(NString("abc").Find('a', -1), -1);
  EXPECT_EQ(NString("MOVE").Equals(NString("move")), 0);
  EXPECT_EQ(NString("MOVE").Equals(NString("MOVE")), 1);
  EXPECT_EQ(NString(static_cast<const char*>(nullptr)).GetLength(), 0);
}

TEST(NString, ReplaceAndAppendChangeEveryOccurrence) {
  NString s("a--b-");
  s.Replace('-', '+');
  EXPECT_STREQ(s.GetBuffer(), "a++b+");
  s.Replace('+', '+');
  EXPECT_STREQ(s.GetBuffer(), "a++b+");
  s.Append(NString("cd"));
  s.AppendChar('e');
  EXPECT_STREQ(s.GetBuffer(), "a++b+cde");
  NString copy(s);
  copy.AppendChar('!');
  EXPECT_STREQ(s.GetBuffer(), "a++b+cde");  // deep copy
}

TEST(NString, ProgramDirectoryEndsInASlashAndQuotesAName) {
  NString dir = NString::GetProgramDirectory();
  ASSERT_GT(dir.GetLength(), 1);
  EXPECT_EQ(dir.GetBuffer()[dir.GetLength() - 1], '/');
  NString quoted = NString::QuotedPathBesideProgram(NString("Music01.mid"));
  std::string q = quoted.GetBuffer();
  EXPECT_EQ(q.front(), '"');
  EXPECT_EQ(q.back(), '"');
  EXPECT_NE(q.find("/Music01.mid\""), std::string::npos);
}
