#include "game/bullet_list.h"

#include <vector>

#include "app/app_block.h"
#include "audio/game_sounds.h"
#include "base/math_util.h"
#include "generated/resource_ids.h"
#include "gfx/display.h"
#include "script/aim.h"

namespace {

struct BulletBitmap {
  int resource;
  int frames;
};

// Index -> bitmap: fireball, beam middle, beam tail, beam head, dash, bolt,
// rising flame, falling flame, orb.
constexpr BulletBitmap kBitmaps[9] = {
    {bitmap::kBulletFireball, 2}, {bitmap::kBeamMiddle, 1},      {bitmap::kBeamTail, 1},
    {bitmap::kBeamHead, 1},       {bitmap::kBulletDash, 2},      {bitmap::kBulletBolt, 2},
    {bitmap::kBulletFlameUp, 2},  {bitmap::kBulletFlameDown, 2}, {bitmap::kBulletOrb, 4}};

constexpr int kAimed = -1;       // direction placeholder: aimed at the player
constexpr int kRandomCone = -2;  // 21 + Random(7)
constexpr int kAimSpread = 7;

struct Pattern {
  int bitmap = -1;  // -1: the pattern fires nothing
  float speed = 0;
  int sound = -1;
  std::vector<int> directions;
};

std::array<Pattern, 22> MakePatterns() {
  std::array<Pattern, 22> p{};
  p[1] = {4, 8, -1, {24}};
  p[3] = {0, 7, -1, {kAimed}};
  p[4] = {8, 9, sound::kEnemyVolley, {kAimed}};
  p[5] = {0, 7, -1, {22, 26, 24}};
  p[6] = {0, 7, -1, {20, 28, 22, 26, 24}};
  p[7] = {0, 7, -1, {kRandomCone}};
  p[8] = {8, 9, sound::kEnemyVolley, {21, 27, 24}};
  p[9] = {0, 7, -1, {21, 27, 23, 25}};
  p[10] = {8, 9, sound::kEnemyVolley, {21, 27, 23, 25}};
  p[11] = {5, 20, sound::kEnemyVolley, {24}};
  p[12] = {6, 20, sound::kEnemyFlame, {8}};
  p[13] = {7, 16, -1, {24}};
  p[14] = {7, 12, sound::kEnemyFlame, {21, 27, 23, 25}};
  p[15] = {3, 16, sound::kEnemyVolley, {24}};
  p[16] = {1, 16, -1, {24}};
  p[17] = {2, 16, -1, {24}};
  // The two rings: the 16 even and the 16 odd compass steps, kept as counted
  // (24..55); Move uses them modulo 32.
  p[20] = {8, 9, sound::kEnemyVolley, {}};
  p[21] = {8, 9, sound::kEnemyVolley, {}};
  for (int i = 0; i < 16; ++i) {
    p[20].directions.push_back(24 + 2 * i);
    p[21].directions.push_back(25 + 2 * i);
  }
  return p;
}

const std::array<Pattern, 22>& Patterns() {
  static const std::array<Pattern, 22> patterns = MakePatterns();
  return patterns;
}

constexpr int kRainPattern = 13;

}  // namespace

NBulletChara::NBulletChara(const NDib256& dib, int frames) : NSprite256(dib, frames) { SetAnimation(1); }

NBulletList::NBulletList() {
  for (size_t i = 0; i < bitmaps_.size(); ++i) bitmaps_[i] = std::make_unique<NDib256>(kBitmaps[i].resource);
}

NBulletList::~NBulletList() = default;

int NBulletList::FindFreeSlot() const {
  for (int i = 0; i < kSlots; ++i) {
    if (!slots_[static_cast<size_t>(i)]) return i;
  }
  return -1;
}

int NBulletList::CountFreeSlots() const {
  int n = 0;
  for (const auto& s : slots_) n += s == nullptr;
  return n;
}

void NBulletList::Shoot(int x, int y, int pattern, const PlayerView* player) {
  bool upper = pattern >= 100;
  if (upper) pattern -= 100;
  if (pattern < 0 || pattern >= static_cast<int>(Patterns().size())) return;
  const Pattern& p = Patterns()[static_cast<size_t>(pattern)];
  if (p.bitmap < 0) return;
  // A volley is fired whole or not at all.
  if (CountFreeSlots() < static_cast<int>(p.directions.size())) return;
  const BulletBitmap& bitmap = kBitmaps[p.bitmap];
  for (int direction : p.directions) {
    if (direction == kAimed) {
      int d = player ? DirectionTo(x, y, player->GetCenterX(), player->GetCenterY()) : 24;
      direction = ClampDownward(d, kAimSpread);
    } else if (direction == kRandomCone) {
      direction = 21 + Random(7);
    }
    auto bullet = std::make_unique<NBulletChara>(*bitmaps_[static_cast<size_t>(p.bitmap)], bitmap.frames);
    bullet->SetSpeed(p.speed);
    bullet->SetDirection(direction);
    if (pattern == kRainPattern) {
      // The rain ignores the shooter: it starts just above the top edge at a
      // random x and falls into view.
      int rainX = Random(GetScreenWidth());
      bullet->SetCenter(rainX, -(bullet->GetHeight() / 2));
    } else {
      bullet->SetCenter(x, y);
    }
    if (upper) bullet->layer = 0;
    slots_[static_cast<size_t>(FindFreeSlot())] = std::move(bullet);
  }
  if (p.sound >= 0) PlaySound(p.sound);
}

void NBulletList::Animate() {
  for (auto& s : slots_) {
    if (s) s->Animate();
  }
}

void NBulletList::Update() {
  for (auto& s : slots_) {
    if (!s) continue;
    s->Move();
    int bx = s->GetX();
    int by = s->GetY();
    if (by >= GetScreenHeight() || by <= -kMarginAbove || bx >= GetScreenWidth() || bx <= -s->GetWidth()) s.reset();
  }
}

void NBulletList::Draw(Surface* target, int layer) const {
  for (const auto& s : slots_) {
    if (s && s->layer == layer) s->Draw(target);
  }
}

void NBulletList::Clear() {
  for (auto& s : slots_) s.reset();
}
