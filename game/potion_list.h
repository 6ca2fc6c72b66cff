#pragma once

#include <array>
#include <memory>

#include "game/potion_chara.h"
#include "gfx/dib256.h"
#include "script/script.h"

// The potions on the playfield: 25 slots. Each pops up and falls along one
// of three motion scripts (straight, drifting left, drifting right).
class NPotionList {
 public:
  static constexpr int kSlots = 25;
  static constexpr int kScripts = 3;

  NPotionList();
  virtual ~NPotionList();

  // A counting potion or a life potion centred on (x, y) with motion script
  // 0..2, in the first free slot; nothing when all are taken.
  void AddPotion(int x, int y, int scriptIndex) { Add(x, y, scriptIndex, NPotionChara::kPotion); }
  void AddLifePotion(int x, int y, int scriptIndex) { Add(x, y, scriptIndex, NPotionChara::kLifePotion); }
  // One script step for each potion; those that fell below the screen go.
  void Update();
  void Draw(Surface* target) const;
  void Clear();
  int Count() const;
  NPotionChara* Get(int slot) const { return slots_[static_cast<size_t>(slot)].get(); }
  void Remove(int slot) { slots_[static_cast<size_t>(slot)].reset(); }

 private:
  void Add(int x, int y, int scriptIndex, int kind);

  std::unique_ptr<NDib256> potion_;
  std::unique_ptr<NDib256> lifePotion_;
  std::array<std::unique_ptr<NScript>, kScripts> scripts_;
  std::array<std::unique_ptr<NPotionChara>, kSlots> slots_;
};

// The power level a potion count reaches: one level each at 50, 100, 150,
// 200 and 250.
int PowerLevelFor(int potionCount);
constexpr int kMaxPowerLevel = 5;
// The count at which power level `level` + 1 is reached.
int NextPowerThreshold(int level);
