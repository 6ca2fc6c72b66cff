#pragma once

#include <array>
#include <memory>

#include "game/enemy_chara.h"
#include "gfx/dib256.h"
#include "script/script.h"

class NMap;
class NFireList;
class NExplodeList;
class NPotionList;
class NMyChara;

// The formation: up to 60 enemies laid out on an 11 x 6 grid from the level
// map. The block slides sideways and turns at the border; one member after
// another, in random order every 34 frames, leaves it to fly its kind's dive.
class NEnemyList {
 public:
  static constexpr int kSlots = 60;
  static constexpr int kKinds = 9;
  static constexpr int kColumns = 11;
  static constexpr int kRows = 6;
  static constexpr int kFirstRowTop = 32;
  static constexpr int kFirstDive = 60;
  static constexpr int kDiveInterval = 34;

  NEnemyList();
  virtual ~NEnemyList();

  // Lays out the selected level of the map. Returns 0 for an ordinary level,
  // else the first other character met (a boss letter), which ends the build.
  char BuildFormation(const NMap& map);
  // One frame of every enemy: its formation step or its dive, then the
  // whole block's turn at the border and divers' re-entry from the top.
  void Update(BulletSink& bullets, const PlayerView& player);
  // Formation members animate with the block; divers change frames by script.
  void AnimateFormation();
  // Player shots against every enemy: damage, sparks, kills with their
  // explosion and potion.
  void TakeShots(NFireList& shots, NExplodeList& explosions, NPotionList& potions);
  // Enemies touching the player hurt her; they are not harmed.
  void TouchPlayer(NMyChara& player, NExplodeList& explosions);
  void Draw(Surface* target) const;
  void Clear();
  int Count() const;
  NEnemyChara* Get(int slot) const { return slots_[static_cast<size_t>(slot)].get(); }

 private:
  void MakeDiveSchedule(int count);

  std::array<std::unique_ptr<NEnemyChara>, kSlots> slots_;
  std::array<std::unique_ptr<NScript>, kKinds> scripts_;
  std::array<std::unique_ptr<NDib256>, kKinds> bitmaps_;
};
