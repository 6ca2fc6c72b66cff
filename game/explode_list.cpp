#include "game/explode_list.h"

#include "app/app_block.h"
#include "audio/game_sounds.h"
#include "generated/resource_ids.h"

namespace {
constexpr int kLargeFrames = 9;
constexpr int kSmallFrames = 5;
}  // namespace

NExplodeList::NExplodeList() {
  bitmaps_[0] = std::make_unique<NDib256>(bitmap::kExplosionLarge);
  bitmaps_[1] = std::make_unique<NDib256>(bitmap::kExplosionSmall);
}

NExplodeList::~NExplodeList() = default;

void NExplodeList::Spawn(int x, int y, int kind, bool sound) {
  if (kind != kLarge && kind != kSmall) return;
  for (auto& slot : slots_) {
    if (slot) continue;
    bool large = kind == kLarge;
    slot = std::make_unique<NSprite256>(*bitmaps_[large ? 0 : 1], large ? kLargeFrames : kSmallFrames);
    slot->SetAnimation(0);
    slot->SetCenter(x, y);
    if (sound) PlaySound(large ? sound::kExplosionLarge : sound::kExplosionSmall);
    return;
  }
}

void NExplodeList::Update() {
  for (auto& slot : slots_) {
    if (!slot) continue;
    slot->Animate();
    if (!slot->IsAnimationRunning()) slot.reset();
  }
}

void NExplodeList::Draw(Surface* target) const {
  for (const auto& slot : slots_) {
    if (slot) slot->Draw(target);
  }
}

void NExplodeList::Clear() {
  for (auto& slot : slots_) slot.reset();
}

int NExplodeList::Count() const {
  int n = 0;
  for (const auto& slot : slots_) n += slot != nullptr;
  return n;
}
