#include "game/map.h"

int NMap::ResourceForStage(int stage) {
  switch (stage) {
    case 1:
      return 198;
    case 2:
      return 199;
    case 3:
      return 200;
    default:
      return 294;
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
