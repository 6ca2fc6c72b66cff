#include "game/map.h"

#include "generated/resource_ids.h"

int NMap::ResourceForStage(int stage) {
  switch (stage) {
    case 1:
      return level_map::kStage1;
    case 2:
      return level_map::kStage2;
    case 3:
      return level_map::kStage3;
    default:
      return level_map::kStage4;
  }
}

void NMap::Load(int stage) {
  NStringList lines;
  lines.LoadFromResource(ResourceForStage(stage));
  LoadLines(lines);
}

void NMap::LoadLines(const NStringList& lines) {
  rows_.RemoveAll();
  for (uint32_t i = 0; i < lines.GetCount(); ++i) {
    NString line = lines.GetAt(i);
    line.Trim(2, ' ');
    if (line.GetLength() == 0) continue;
    const char* text = line.GetBuffer();
    if (text[0] == '/' && text[1] == '/') continue;  // level titles and separators
    if (text[0] == '~') break;                       // the end line
    rows_.Add(line);
  }
}

char NMap::GetCell(int column, int row) const {
  if (level_ < 1 || level_ > kLevels || row < 0 || row >= kRowsPerLevel || column < 0) return 0;
  int index = kRowsPerLevel * (level_ - 1) + row;
  if (index >= GetRowCount()) return 0;
  const NString& cells = rows_.GetAt(static_cast<uint32_t>(index));
  if (column >= cells.GetLength()) return 0;
  return cells.GetBuffer()[column];
}

int NMap::GetLevelCount() const {
  int count = 0;
  for (int row = 0; row < GetRowCount() && row < kLevels * kRowsPerLevel; ++row) {
    const NString& cells = rows_.GetAt(static_cast<uint32_t>(row));
    for (int i = 0; i < cells.GetLength(); ++i) {
      char c = cells.GetBuffer()[i];
      if ((c >= '1' && c <= '9') || (c >= 'A' && c <= 'E')) count = row / kRowsPerLevel + 1;
    }
  }
  return count;
}
