#include "game/potion_list.h"

#include "generated/resource_ids.h"
#include "gfx/display.h"

namespace {
constexpr int kScriptIds[NPotionList::kScripts] = {script::kPotionStraight, script::kPotionLeft, script::kPotionRight};
constexpr int kThresholds[kMaxPowerLevel] = {50, 100, 150, 200, 250};
}  // namespace

int PowerLevelFor(int potionCount) {
  int level = 0;
  for (int threshold : kThresholds) level += potionCount >= threshold;
  return level;
}

int NextPowerThreshold(int level) { return level >= 0 && level < kMaxPowerLevel ? kThresholds[level] : -1; }

NPotionList::NPotionList()
    : potion_(std::make_unique<NDib256>(bitmap::kPotion)), lifePotion_(std::make_unique<NDib256>(bitmap::kPotionLife)) {
  for (int i = 0; i < kScripts; ++i) scripts_[static_cast<size_t>(i)] = std::make_unique<NScript>(kScriptIds[i]);
}

NPotionList::~NPotionList() = default;

void NPotionList::Add(int x, int y, int scriptIndex, int kind) {
  if (scriptIndex < 0 || scriptIndex >= kScripts) return;
  for (auto& slot : slots_) {
    if (slot) continue;
    const NDib256& dib = kind == NPotionChara::kLifePotion ? *lifePotion_ : *potion_;
    slot = std::make_unique<NPotionChara>(dib, scripts_[static_cast<size_t>(scriptIndex)].get(), kind);
    slot->SetCenter(x, y);
    return;
  }
}

void NPotionList::Update() {
  for (auto& slot : slots_) {
    if (!slot) continue;
    slot->Move();
    if (slot->GetY() >= GetScreenHeight()) slot.reset();
  }
}

void NPotionList::Draw(Surface* target) const {
  for (const auto& slot : slots_) {
    if (slot) slot->Draw(target);
  }
}

void NPotionList::Clear() {
  for (auto& slot : slots_) slot.reset();
}

int NPotionList::Count() const {
  int n = 0;
  for (const auto& slot : slots_) n += slot != nullptr;
  return n;
}
