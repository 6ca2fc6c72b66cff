#pragma once

#include "base/string_list.h"

// The formations of one stage: six rows of eleven cells per level, read
// from the stage's level-map text. Cell characters: '0' empty, '1'..'9' an
// enemy kind, a letter a boss level.
class NMap {
 public:
  static constexpr int kRowsPerLevel = 6;
  static constexpr int kLevels = 16;

  NMap() = default;
  virtual ~NMap() = default;

  // Reads the stage's map (stage 1..3, anything else the fourth); the
  // selected level stays as it was.
  void Load(int stage);
  // The same rules for any text (tools and tests).
  void LoadLines(const NStringList& lines);
  void SetLevel(int level) { level_ = level; }
  // The cell of the selected level, or NUL outside the level, the rows
  // loaded or the row's length: a short map never reads past its end.
  char GetCell(int column, int row) const;
  int GetRowCount() const { return static_cast<int>(rows_.GetCount()); }
  // The levels the stage has: up to the last one with something to fight
  // (an enemy kind or a boss letter A..E); the empty ones after it are none.
  int GetLevelCount() const;

  static int ResourceForStage(int stage);

 private:
  int level_ = 0;
  NStringList rows_;
};
