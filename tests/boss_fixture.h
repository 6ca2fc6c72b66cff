#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "base/math_util.h"
#include "game/bullet_list.h"
#include "game/explode_list.h"
#include "game/explode_region_list.h"
#include "game/fire_list.h"
#include "game/player.h"
#include "game/potion_list.h"
#include "game/table_boss.h"
#include "gfx/display.h"
#include "tests/sound_spy.h"

// A game's worth of lists around one boss, with helpers that put shots and
// the player exactly where a test wants them.
class BossTest : public ::testing::Test {
 protected:
  struct NoGame : PlayerEvents {
    void OnLastLifeLost() override {}
  };

  void SetUp() override {
    FillDirectionTables();
    SeedRandom(3);
    CreateDisplay(nullptr);
    SetDisplayMode();
    bullets.SetTarget(&player);
  }
  void TearDown() override { ReleaseDisplay(); }

  TableBoss& Make(char letter) {
    boss.reset(static_cast<TableBoss*>(MakeBoss(letter).release()));
    boss->CreateParts();
    return *boss;
  }

  // One shot of the player's, centred on (cx, cy); returns its slot. Room
  // for seven at once: the widest volley needs six free slots.
  int AddShot(int cx, int cy) {
    bool empty[NFireList::kSlots];
    for (int s = 0; s < NFireList::kSlots; ++s) empty[s] = shots.Get(s) == nullptr;
    int slot = shots.FindFreeSlot();
    shots.Fire(cx, cy, kMaxPowerLevel);
    if (slot < 0 || !shots.Get(slot)) {
      ADD_FAILURE() << "no room for another shot";
      return 0;
    }
    // Keep only the first shot of the volley.
    for (int s = slot + 1; s < NFireList::kSlots; ++s) {
      if (empty[s] && shots.Get(s)) shots.Remove(s);
    }
    shots.Get(slot)->SetCenter(cx, cy);
    return slot;
  }

  // Moves the shot in `slot` to the first place over `sprite`'s rectangle
  // where `wanted` holds; false when there is none.
  bool AimShot(int slot, const NSprite256& sprite, const std::function<bool(const NFireChara&)>& wanted) {
    NFireChara& shot = *shots.Get(slot);
    for (int y = sprite.GetY(); y < sprite.GetY() + sprite.GetHeight(); y += 2) {
      for (int x = sprite.GetX(); x < sprite.GetX() + sprite.GetWidth(); x += 2) {
        shot.SetCenter(x, y);
        if (wanted(shot)) return true;
      }
    }
    return false;
  }
  bool AimShot(int slot, const NSprite256& sprite) {
    return AimShot(slot, sprite, [&](const NFireChara& shot) { return shot.IsHit(sprite); });
  }

  int ShotsLeft() const { return NFireList::kSlots - shots.CountFreeSlots(); }

  NoGame game;
  NMyChara player{&game};
  NFireList shots;
  NBulletList bullets;
  NExplodeList explosions;
  NPotionList potions;
  NExplodeRegionList regions{&explosions, &potions};
  SoundSpy sounds;
  std::unique_ptr<TableBoss> boss;
};
