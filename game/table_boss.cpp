#include "game/table_boss.h"

#include <algorithm>

#include "game/bullet_list.h"
#include "game/explode_list.h"
#include "game/explode_region_list.h"
#include "game/fire_list.h"
#include "game/player.h"
#include "script/script.h"

TableBoss::TableBoss(const BossLayout& layout) : layout_(layout), parts_(layout.parts.size()) {
  for (const BossPart& entry : layout_.parts) scripts_.push_back(std::make_unique<NScript>(entry.script));
}

TableBoss::~TableBoss() = default;

void TableBoss::CreateParts() {
  for (size_t i = 0; i < parts_.size(); ++i) {
    const BossPart& entry = layout_.parts[i];
    auto part = std::make_unique<NEnemySubChara>(entry.bitmap, scripts_[i].get(), entry.frames);
    Place(*part, entry);
    part->SetHitPoints(entry.hitPoints);
    part->SetAnimation(entry.animationDelay);
    parts_[i] = std::move(part);
  }
  // The parts join the body where it starts.
  for (size_t i = 1; i < parts_.size(); ++i) {
    parts_[i]->parentX = parts_[kBody]->GetX();
    parts_[i]->parentY = parts_[kBody]->GetY();
  }
}

void TableBoss::Place(NEnemySubChara& part, const BossPart& entry) const {
  switch (entry.anchor) {
    case BossPart::kCentre:
      part.SetCenter(entry.x, entry.y);
      break;
    case BossPart::kTopLeft:
      part.SetPosition(entry.x, entry.y);
      break;
    case BossPart::kBodyCentre: {
      const NEnemySubChara& body = *parts_[kBody];
      part.SetCenter(body.GetWidth() / 2, body.GetHeight() / 2);
      break;
    }
  }
  part.Shift(entry.shiftX, entry.shiftY);
  if (entry.top != BossPart::kKeepTop) part.SetY(entry.top);
}

void TableBoss::Update(NBulletList& bullets, NMyChara& player) {
  if (IsDefeated()) return;
  NEnemySubChara& body = *parts_[kBody];
  if (layout_.parts[kBody].animated) body.Animate();
  body.RunScript(bullets, player);
  for (int i : UpdateOrder()) {
    NEnemySubChara* part = parts_[static_cast<size_t>(i)].get();
    if (!part) continue;
    if (layout_.parts[static_cast<size_t>(i)].animated) part->Animate();
    // The body has moved already this frame: the part follows it before it
    // moves itself, so its shots leave from where it is seen.
    part->parentX = body.GetX();
    part->parentY = body.GetY();
    part->RunScript(bullets, player);
  }
}

void TableBoss::Draw(Surface* target) {
  if (IsDefeated()) return;
  for (int i : DrawOrder()) {
    if (const NEnemySubChara* part = parts_[static_cast<size_t>(i)].get()) part->Draw(target);
  }
}

void TableBoss::TakeShots(NFireList& shots, NExplodeRegionList& regions) {
  if (IsDefeated()) return;
  // Every shot goes on being tried after the body falls: the rest of this
  // call still meets the parts that remain.
  for (int s = 0; s < NFireList::kSlots; ++s) {
    if (shots.Get(s)) TryShot(shots, s, regions);
  }
}

void TableBoss::TryShot(NFireList& shots, int slot, NExplodeRegionList& regions) {
  // The targets are asked for each shot anew: a boss may change them when
  // one of its parts is destroyed.
  for (int i : ShotTargets()) {
    std::unique_ptr<NEnemySubChara>& target = parts_[static_cast<size_t>(i)];
    NFireChara* shot = shots.Get(slot);
    if (!target || !target->IsHit(*shot)) continue;
    target->SetHitPoints(std::max(0, target->GetHitPoints() - shot->damage));
    int sx = shot->GetCenterX();
    int sy = shot->GetCenterY();
    shots.Remove(slot);
    if (target->GetHitPoints() > 0) {
      if (NExplodeList* explosions = regions.GetExplodeList()) explosions->Spawn(sx, sy, NExplodeList::kSmall, true);
    } else {
      bool body = i == kBody;
      regions.Add(*target, body ? kBodyRegionFrames : kPartRegionFrames, body);
      target.reset();
    }
    return;
  }
}

void TableBoss::TouchPlayer(NMyChara& player, NExplodeList& explosions) {
  if (IsDefeated()) return;
  for (int i : HarmfulParts()) {
    const NEnemySubChara* part = parts_[static_cast<size_t>(i)].get();
    if (part && part->IsHit(player)) player.Hit(explosions);
  }
}

std::vector<const NSprite256*> TableBoss::GetHarmfulParts() const {
  std::vector<const NSprite256*> harmful;
  if (IsDefeated()) return harmful;
  for (int i : HarmfulParts()) {
    if (const NEnemySubChara* part = parts_[static_cast<size_t>(i)].get()) harmful.push_back(part);
  }
  return harmful;
}

int TableBoss::GetBodyHitPoints() const { return parts_[kBody] ? parts_[kBody]->GetHitPoints() : -1; }
