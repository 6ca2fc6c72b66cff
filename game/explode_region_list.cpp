#include "game/explode_region_list.h"

#include "base/math_util.h"
#include "game/explode_list.h"
#include "game/potion_list.h"
#include "gfx/sprite256.h"

namespace {
constexpr int kExplosionsPerFrame = 2;
constexpr int kEvery = 4;  // sounds and potions on every fourth frame
}  // namespace

NExplodeRegionList::NExplodeRegionList(NExplodeList* explosions, NPotionList* potions)
    : explosions_(explosions), potions_(potions) {}

void NExplodeRegionList::Add(const NSprite256& sprite, int frames, bool potions) {
  regions_.push_back({sprite.GetX(), sprite.GetY(), sprite.GetWidth(), sprite.GetHeight(), frames, potions ? 1 : 0});
}

void NExplodeRegionList::Update() {
  for (Region& r : regions_) {
    bool fourth = r.framesLeft % kEvery == 0;
    for (int i = 0; i < kExplosionsPerFrame; ++i) {
      // x first, then y: the order of the random numbers is part of the run.
      int px = r.x + (r.width > 0 ? Random(r.width) : 0);
      int py = r.y + (r.height > 0 ? Random(r.height) : 0);
      explosions_->Spawn(px, py, NExplodeList::kLarge, i == 0 && fourth);
      if (r.dropsPotions && i == 0 && fourth) potions_->AddPotion(px, py, Random(3));
    }
    --r.framesLeft;
    if (r.dropsPotions && r.framesLeft == 0) {
      potions_->AddLifePotion(r.x + r.width / 2, r.y + r.height / 2, Random(3));
    }
  }
  regions_.remove_if([](const Region& r) { return r.framesLeft < 1; });
}
