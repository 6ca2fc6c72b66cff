#include "game/enemy_list.h"

#include <algorithm>

#include "base/math_util.h"
#include "game/explode_list.h"
#include "game/fire_list.h"
#include "game/map.h"
#include "game/player.h"
#include "game/potion_list.h"
#include "generated/resource_ids.h"
#include "gfx/display.h"

namespace {

struct EnemyKind {
  int bitmap;
  int script;
  int hitPoints;
  uint16_t fireChance;
};

// Cell digit 1..9 -> kind.
constexpr EnemyKind kKindTable[NEnemyList::kKinds] = {
    {bitmap::kStarfish, script::kStarfish, 1, 900},
    {bitmap::kWormSmall, script::kWorm, 3, 800},
    {bitmap::kWormArmoured, script::kWormArmoured, 5, 700},
    {bitmap::kScorpion, script::kScorpion, 3, 700},
    {bitmap::kBat, script::kBat, 20, 500},
    {bitmap::kBird, script::kBird, 20, 500},
    {bitmap::kSquid, script::kSquid, 12, 500},
    {bitmap::kShell, script::kShell, 4, 700},
    {bitmap::kButterfly, script::kButterfly, 7, 600},
};

constexpr int kFrames = 2;
constexpr int kRowGap = 4;
constexpr int kReentryGap = 20;
constexpr int kGridWidth = 484;
constexpr int kCellWidth = 44;

int ColumnCentre(int column) { return (GetScreenWidth() - kGridWidth) / 2 + kCellWidth / 2 + kCellWidth * column; }

}  // namespace

NEnemyList::NEnemyList() {
  for (int k = 0; k < kKinds; ++k) {
    scripts_[static_cast<size_t>(k)] = std::make_unique<NScript>(kKindTable[k].script);
    bitmaps_[static_cast<size_t>(k)] = std::make_unique<NDib256>(kKindTable[k].bitmap);
  }
}

NEnemyList::~NEnemyList() = default;

char NEnemyList::BuildFormation(const NMap& map) {
  int top = kFirstRowTop;
  int placed = 0;
  for (int row = 0; row < kRows; ++row) {
    int rowHeight = 0;
    for (int column = 0; column < kColumns; ++column) {
      char cell = map.GetCell(column, row);
      if (cell == '0' || placed >= kSlots) continue;
      if (cell < '1' || cell > '9') return cell;  // a boss letter, or a cell the map lacks
      const EnemyKind& kind = kKindTable[cell - '1'];
      size_t k = static_cast<size_t>(cell - '1');
      auto enemy = std::make_unique<NEnemyChara>(*bitmaps_[k], scripts_[k].get(), kFrames, 0);
      enemy->SetHitPoints(kind.hitPoints);
      enemy->SetFireChance(kind.fireChance);
      enemy->SetPosition(ColumnCentre(column) - enemy->GetWidth() / 2, top);
      enemy->SetDiveDelay(0);
      rowHeight = std::max(rowHeight, enemy->GetHeight() + kRowGap);
      slots_[static_cast<size_t>(placed++)] = std::move(enemy);
    }
    top += rowHeight;  // a row without enemies adds no height
  }
  if (placed > 0) MakeDiveSchedule(placed);
  return 0;
}

void NEnemyList::MakeDiveSchedule(int count) {
  // Each enemy gets its own delay from 60, 94, 128, ... in random order: a
  // drawn enemy that already has one passes it to the one before it.
  for (int k = 0; k < count; ++k) {
    int i = Random(count);
    while (slots_[static_cast<size_t>(i)]->GetDiveDelay() != 0) i = i == 0 ? count - 1 : i - 1;
    slots_[static_cast<size_t>(i)]->SetDiveDelay(kFirstDive + kDiveInterval * k);
  }
}

void NEnemyList::Update(BulletSink& bullets, const PlayerView& player) {
  bool turn = false;
  for (auto& enemy : slots_) {
    if (!enemy) continue;
    enemy->RunScript(bullets, player);
    if (enemy->GetMode() == 0) {
      turn = turn || enemy->IsLeavingScreen();
    } else if (enemy->GetY() >= GetScreenHeight()) {
      // A diver that left through the bottom comes back from the top.
      enemy->SetY(-kReentryGap - enemy->GetHeight());
    }
  }
  if (!turn) return;
  // The whole block turns, not just the member that touched the border.
  for (auto& enemy : slots_) {
    if (enemy && enemy->GetMode() == 0 && enemy->GetDirection() != -1) {
      enemy->SetDirection((enemy->GetDirection() + 16) % 32);
    }
  }
}

void NEnemyList::AnimateFormation() {
  for (auto& enemy : slots_) {
    if (enemy && enemy->GetMode() == 0) enemy->Animate();
  }
}

void NEnemyList::TakeShots(NFireList& shots, NExplodeList& explosions, NPotionList& potions) {
  for (auto& enemy : slots_) {
    for (int s = 0; s < NFireList::kSlots && enemy; ++s) {
      NFireChara* shot = shots.Get(s);
      if (!shot || !enemy->IsHit(*shot)) continue;
      enemy->SetHitPoints(std::max(0, enemy->GetHitPoints() - shot->damage));
      int sx = shot->GetCenterX();
      int sy = shot->GetCenterY();
      shots.Remove(s);
      if (enemy->GetHitPoints() > 0) {
        explosions.Spawn(sx, sy, NExplodeList::kSmall, true);
        continue;
      }
      int cx = enemy->GetCenterX();
      int cy = enemy->GetCenterY();
      enemy.reset();
      explosions.Spawn(cx, cy, NExplodeList::kLarge, true);
      potions.AddPotion(cx, cy, Random(3));
    }
  }
}

void NEnemyList::TouchPlayer(NMyChara& player, NExplodeList& explosions) {
  for (auto& enemy : slots_) {
    if (enemy && enemy->IsHit(player)) player.Hit(explosions);
  }
}

void NEnemyList::Draw(Surface* target) const {
  for (const auto& enemy : slots_) {
    if (enemy) enemy->Draw(target);
  }
}

void NEnemyList::Clear() {
  for (auto& enemy : slots_) enemy.reset();
}

int NEnemyList::Count() const {
  int n = 0;
  for (const auto& enemy : slots_) n += enemy != nullptr;
  return n;
}
