#pragma once

#include <array>
#include <memory>

#include "gfx/dib256.h"
#include "gfx/sprite256.h"

// One of the player's shots: flies 24 pixels a frame along its direction.
class NFireChara : public NSprite256 {
 public:
  static constexpr float kSpeed = 24.0f;
  NFireChara(const NDib256& dib);
  int damage = 1;
};

// The player's shots: 12 slots, filled by volleys that grow with the power
// level and are fired only when there is room for them with some to spare.
class NFireList {
 public:
  static constexpr int kSlots = 12;

  NFireList();
  virtual ~NFireList();

  // One volley from the player's centre at a power level 0..5 (any other
  // level fires nothing), with one sound for the whole volley.
  void Fire(int centreX, int centreY, int powerLevel);
  int CountFreeSlots() const;
  int FindFreeSlot() const;
  // Moves every shot and removes those wholly off the screen.
  void Update();
  void Animate();
  void Draw(Surface* target) const;
  void Clear();
  NFireChara* Get(int slot) const { return slots_[static_cast<size_t>(slot)].get(); }
  void Remove(int slot) { slots_[static_cast<size_t>(slot)].reset(); }

 private:
  void Add(bool large, int direction, int cx, int cy);

  std::unique_ptr<NDib256> large_;
  std::unique_ptr<NDib256> small_;
  std::array<std::unique_ptr<NFireChara>, kSlots> slots_;
};
