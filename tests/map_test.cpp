#include <gtest/gtest.h>

#include <string>

#include "game/map.h"

namespace {
NStringList Lines(const std::string& text) {
  NStringList lines;
  lines.LoadFromBytes({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
  return lines;
}
}  // namespace

TEST(ShippedMaps, HoldSixteenLevelsOfSixElevenCellRowsOfKnownCharacters) {
  const std::string known = "0123456789ABCDEX";
  for (int stage = 1; stage <= 4; ++stage) {
    NMap map;
    map.Load(stage);
    ASSERT_EQ(map.GetRowCount(), 96) << "stage " << stage;
    for (int level = 1; level <= 16; ++level) {
      map.SetLevel(level);
      for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 11; ++column) {
          char c = map.GetCell(column, row);
          EXPECT_NE(known.find(c), std::string::npos) << stage << "-" << level << " " << row << "," << column;
        }
        EXPECT_EQ(map.GetCell(11, row), 0);
      }
    }
  }
}

TEST(ShippedMaps, BossLettersStandWhereThePlayMeetsThem) {
  struct Boss {
    int stage;
    int level;
    char letter;
  } bosses[] = {{1, 8, 'B'}, {1, 16, 'A'}, {2, 8, 'A'}, {2, 16, 'C'}, {3, 8, 'C'}, {3, 16, 'E'},
                {4, 1, 'B'}, {4, 2, 'A'},  {4, 3, 'C'}, {4, 4, 'E'},  {4, 5, 'D'}, {4, 6, 'X'}};
  for (const Boss& b : bosses) {
    NMap map;
    map.Load(b.stage);
    map.SetLevel(b.level);
    EXPECT_EQ(map.GetCell(0, 0), b.letter) << b.stage << "-" << b.level;
    EXPECT_EQ(map.GetCell(1, 0), '0');
  }
  NMap map;
  map.Load(1);
  map.SetLevel(1);
  const char* rows[] = {"00222222200", "00111111100", "00111111100", "00000000000"};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 11; ++c) EXPECT_EQ(map.GetCell(c, r), rows[r][c]);
  }
  map.SetLevel(11);  // its lines carry trailing blanks
  EXPECT_EQ(map.GetCell(10, 4), '0');
  EXPECT_EQ(map.GetCell(2, 4), '2');
}

TEST(NMap, ReadsNulOutsideTheLoadedRowsAndLevels) {
  NMap map;
  map.LoadLines(Lines("// Level 1\r\n  012  \r\n\r\n345\r\n~~~END\r\n999\r\n"));
  ASSERT_EQ(map.GetRowCount(), 2);
  map.SetLevel(1);
  EXPECT_EQ(map.GetCell(0, 0), '0');
  EXPECT_EQ(map.GetCell(2, 1), '5');
  EXPECT_EQ(map.GetCell(3, 0), 0);  // past the row's end
  EXPECT_EQ(map.GetCell(0, 2), 0);  // a row the map does not have
  EXPECT_EQ(map.GetCell(-1, 0), 0);
  EXPECT_EQ(map.GetCell(0, -1), 0);
  map.SetLevel(2);
  EXPECT_EQ(map.GetCell(0, 0), 0);
  map.SetLevel(0);
  EXPECT_EQ(map.GetCell(0, 0), 0);
  map.SetLevel(17);
  EXPECT_EQ(map.GetCell(0, 0), 0);
}
