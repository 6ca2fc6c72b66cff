#pragma once

#include <array>
#include <memory>

#include "gfx/dib256.h"
#include "gfx/sprite256.h"
#include "script/script_world.h"

// One enemy bullet: flies straight at constant speed. Layer 1 bullets are
// drawn under the enemies and the boss, layer 0 bullets over them.
class NBulletChara : public NSprite256 {
 public:
  NBulletChara(const NDib256& dib, int frames);
  int layer = 1;
};

// Everything enemies fire at the player: nine bullet bitmaps and 60 slots,
// filled a whole volley (a shot pattern) at a time or not at all.
class NBulletList : public BulletSink {
 public:
  static constexpr int kSlots = 60;
  static constexpr int kMarginAbove = 200;  // upward bullets may fly this far above the top

  NBulletList();
  ~NBulletList() override;

  // Fires pattern p centred on (x, y); patterns of 100 and more go to the
  // upper layer. Aimed patterns aim at the player's centre.
  void Shoot(int x, int y, int pattern, const PlayerView* player);
  // The scripts' way in: aims at the player set with SetTarget.
  void Shoot(int x, int y, int pattern) override { Shoot(x, y, pattern, target_); }
  void SetTarget(const PlayerView* player) { target_ = player; }

  int FindFreeSlot() const;
  int CountFreeSlots() const;
  void Animate();
  // Moves every bullet and removes those that left the playfield.
  void Update();
  void Draw(Surface* target, int layer) const;
  void Clear();
  NBulletChara* Get(int slot) const { return slots_[static_cast<size_t>(slot)].get(); }
  void Remove(int slot) { slots_[static_cast<size_t>(slot)].reset(); }

 private:
  std::array<std::unique_ptr<NDib256>, 9> bitmaps_;
  std::array<std::unique_ptr<NBulletChara>, kSlots> slots_;
  const PlayerView* target_ = nullptr;
};
