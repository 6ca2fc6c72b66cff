#include "game/fire_list.h"

#include "app/app_block.h"
#include "audio/game_sounds.h"
#include "generated/resource_ids.h"

namespace {

constexpr int kFrames = 2;
constexpr int kUp = 8;

struct ShotSpec {
  bool large;
  int direction;
  // The centre relative to the player's: multiples of the shot's own width
  // (halves counted as 1) and whether it is lifted by a third of its height.
  int widthHalves;
  bool lifted;
};

struct Volley {
  int minimumFree;
  int count;
  ShotSpec shots[6];
};

// Power level -> volley, shots in creation order.
constexpr Volley kVolleys[6] = {
    {10, 1, {{true, kUp, 0, true}}},
    {10, 2, {{true, kUp, -2, true}, {true, kUp, 2, true}}},
    {9, 3, {{false, 7, 1, false}, {true, kUp, -2, true}, {true, kUp, 2, true}}},
    {8, 4, {{false, 7, 1, false}, {false, 9, -1, false}, {true, kUp, -2, true}, {true, kUp, 2, true}}},
    {7,
     5,
     {{false, 6, 2, false}, {false, 7, 1, false}, {false, 9, -1, false}, {true, kUp, -2, true}, {true, kUp, 2, true}}},
    {6,
     6,
     {{false, 6, 2, false},
      {false, 10, -2, false},
      {false, 7, 1, false},
      {false, 9, -1, false},
      {true, kUp, -2, true},
      {true, kUp, 2, true}}},
};

}  // namespace

NFireChara::NFireChara(const NDib256& dib) : NSprite256(dib, kFrames) {
  speed = kSpeed;
  SetAnimation(1);
}

NFireList::NFireList()
    : large_(std::make_unique<NDib256>(bitmap::kShotLarge)), small_(std::make_unique<NDib256>(bitmap::kShotSmall)) {}

NFireList::~NFireList() = default;

int NFireList::CountFreeSlots() const {
  int n = 0;
  for (const auto& s : slots_) n += s == nullptr;
  return n;
}

int NFireList::FindFreeSlot() const {
  for (int i = 0; i < kSlots; ++i) {
    if (!slots_[static_cast<size_t>(i)]) return i;
  }
  return -1;
}

void NFireList::Add(bool large, int direction, int cx, int cy) {
  int slot = FindFreeSlot();
  if (slot < 0) return;
  auto shot = std::make_unique<NFireChara>(large ? *large_ : *small_);
  shot->SetDirection(direction);
  shot->SetCenter(cx, cy);
  slots_[static_cast<size_t>(slot)] = std::move(shot);
}

void NFireList::Fire(int centreX, int centreY, int powerLevel) {
  if (powerLevel < 0 || powerLevel > 5) return;
  const Volley& volley = kVolleys[powerLevel];
  if (CountFreeSlots() < volley.minimumFree) return;
  for (int i = 0; i < volley.count; ++i) {
    const ShotSpec& s = volley.shots[i];
    // Offsets use the shot's own frame: W/2 and H/3 in whole numbers.
    const NDib256& dib = s.large ? *large_ : *small_;
    int w = dib.GetWidth();
    int h = dib.GetHeight() / kFrames;
    int dx = s.widthHalves == 1 ? w / 2 : s.widthHalves == -1 ? -(w / 2) : s.widthHalves / 2 * w;
    int dy = s.lifted ? -(h / 3) : 0;
    Add(s.large, s.direction, centreX + dx, centreY + dy);
  }
  PlaySound(sound::kVolley);
}

void NFireList::Animate() {
  for (auto& s : slots_) {
    if (s) s->Animate();
  }
}

void NFireList::Update() {
  for (auto& s : slots_) {
    if (!s) continue;
    s->Move();
    if (s->IsOutOfScreen()) s.reset();
  }
}

void NFireList::Draw(Surface* target) const {
  for (const auto& s : slots_) {
    if (s) s->Draw(target);
  }
}

void NFireList::Clear() {
  for (auto& s : slots_) s.reset();
}
