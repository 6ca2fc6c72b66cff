// Level maps of any bytes load, read and lay out formations without
// reading past their rows.
#include <cstddef>
#include <cstdint>

#include "base/math_util.h"
#include "base/string_list.h"
#include "game/enemy_list.h"
#include "game/map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FillDirectionTables();
  NStringList lines;
  lines.LoadFromBytes({data, size});
  NMap map;
  map.LoadLines(lines);
  static NEnemyList* enemies = new NEnemyList();  // its bitmaps and scripts load once
  for (int level = 0; level <= 17; ++level) {
    map.SetLevel(level);
    for (int row = -1; row <= 6; ++row) {
      for (int column = -1; column <= 11; ++column) map.GetCell(column, row);
    }
    enemies->Clear();
    enemies->BuildFormation(map);
  }
  return 0;
}
