#pragma once

#include <array>
#include <memory>

#include "gfx/dib256.h"
#include "gfx/sprite256.h"

// One-shot explosion animations drawn over the playfield: kind 1 the large
// fiery cloud, kind 2 the small ring (also the hit spark).
class NExplodeList {
 public:
  static constexpr int kSlots = 40;
  static constexpr int kLarge = 1;
  static constexpr int kSmall = 2;

  NExplodeList();
  virtual ~NExplodeList();

  // Starts an explosion centred on (x, y) in the first free slot; nothing
  // (not even the sound) when all slots are taken or the kind is unknown.
  void Spawn(int x, int y, int kind, bool sound);
  // Advances every explosion once; one that completed its cycle is removed.
  void Update();
  void Draw(Surface* target) const;
  void Clear();
  int Count() const;
  NSprite256* Get(int slot) const { return slots_[static_cast<size_t>(slot)].get(); }

 private:
  std::array<std::unique_ptr<NDib256>, 2> bitmaps_;
  std::array<std::unique_ptr<NSprite256>, kSlots> slots_;
};
