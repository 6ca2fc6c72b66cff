#include <gtest/gtest.h>

#include <string>

#include "base/base_list.h"
#include "base/resources.h"
#include "base/string_list.h"

namespace {
std::span<const uint8_t> Bytes(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }
}  // namespace

TEST(NBaseList, RemoveAtShiftsTheFollowingEntries) {
  int a = 1, b = 2, c = 3;
  NBaseList list;
  EXPECT_EQ(list.IsEmpty(), 1);
  list.Add(&a);
  list.Add(&b);
  list.Add(&c);
  list.RemoveAt(0);
  ASSERT_EQ(list.GetCount(), 2u);
  EXPECT_EQ(list.GetAt(0), &b);
  list.RemoveAt(1);
  ASSERT_EQ(list.GetCount(), 1u);
  EXPECT_EQ(list.GetAt(0), &b);
  list.RemoveAll();
  EXPECT_EQ(list.IsEmpty(), 1);
  EXPECT_EQ(a + b + c, 6);  // items are never touched
}

TEST(NStringList, LinesKeepSpacesWhereTheirLineEndsStood) {
  NStringList list;
  list.LoadFromBytes(Bytes("A\nB"));
  ASSERT_EQ(list.GetCount(), 2u);
  EXPECT_STREQ(list.GetAt(0).GetBuffer(), "A ");
  EXPECT_STREQ(list.GetAt(1).GetBuffer(), "B");

  list.LoadFromBytes(Bytes("one\r\n\r\ntwo\r\n"));
  ASSERT_EQ(list.GetCount(), 3u);  // no empty last line after the final line end
  EXPECT_STREQ(list.GetAt(0).GetBuffer(), "one  ");
  EXPECT_STREQ(list.GetAt(1).GetBuffer(), "  ");
  EXPECT_STREQ(list.GetAt(2).GetBuffer(), "two  ");

  list.LoadFromBytes(Bytes("x\ry"));  // a CR without LF stays in the last line
  ASSERT_EQ(list.GetCount(), 1u);
  EXPECT_EQ(list.GetAt(0).Str(), std::string("x\ry"));

  list.LoadFromBytes(Bytes(""));
  EXPECT_EQ(list.GetCount(), 0u);
}

TEST(NStringList, MissingResourceKeepsTheListAndReportsFailure) {
  NStringList list;
  list.Add(NString("kept"));
  EXPECT_EQ(list.LoadFromResource(9999), 0);
  ASSERT_EQ(list.GetCount(), 1u);
  EXPECT_STREQ(list.GetAt(0).GetBuffer(), "kept");
}

TEST(NStringList, LoadsAnOverriddenTextResourceById) {
  static const std::string text = "// Game\r\nDIRECTION 29\r\n";
  OverrideResource(ResourceType::Text, 4242, Bytes(text));
  NStringList list;
  EXPECT_EQ(list.LoadFromResource(4242), 1);
  ASSERT_EQ(list.GetCount(), 2u);
  EXPECT_STREQ(list.GetAt(1).GetBuffer(), "DIRECTION 29  ");
  ClearResourceOverrides();
  EXPECT_EQ(list.LoadFromResource(4242), 0);
}

TEST(Resources, BitmapsAreFoundByIdWithoutTheirFileHeader) {
  auto palette = FindResource(ResourceType::Bitmap, 106);
  ASSERT_GE(palette.size(), 40u + 1024u);
  EXPECT_EQ(palette[0], 40);  // the info header comes first
  EXPECT_TRUE(FindResource(ResourceType::Wave, 106).empty());
  EXPECT_TRUE(FindResource(ResourceType::Bitmap, 1).empty());
}
