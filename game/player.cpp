#include "game/player.h"

#include "app/app_block.h"
#include "audio/game_sounds.h"
#include "game/explode_list.h"
#include "generated/resource_ids.h"
#include "gfx/display.h"

namespace {
constexpr int kFrames = 4;
}  // namespace

NMyChara::NMyChara(PlayerEvents* owner)
    : NSprite256(bitmap::kPlayer, kFrames),
      game(owner),
      blinkSprite(std::make_unique<NSprite256>(bitmap::kPlayerBlink, kFrames)) {
  speed = kSpeed;
  SetAnimation(kAnimationDelay);
}

NMyChara::~NMyChara() = default;

void NMyChara::Move() {
  NSprite256::Move();
  // Steering never changes y; the screen's sides hold her in.
  float right = static_cast<float>(GetScreenWidth() - width);
  if (x < 0.0f) x = 0.0f;
  if (x > right) x = right;
}

void NMyChara::Hit(NExplodeList& explosions) {
  if (playerState != kNormal || neverHit) return;
  --lives;
  PlaySound(sound::kPlayerHit);
  if (lives < 1) {
    lives = 0;
    playerState = kDead;
    if (game) game->OnLastLifeLost();
    explosions.Spawn(GetCenterX(), GetCenterY(), NExplodeList::kSmall, true);
  } else {
    playerState = kInvulnerable;
    invulnerableTimer = kInvulnerableFrames;
  }
}

void NMyChara::CountInvulnerability() {
  if (playerState != kInvulnerable) return;
  --invulnerableTimer;
  if (invulnerableTimer < 1) playerState = kNormal;
}

const NSprite256* NMyChara::Look() const {
  switch (playerState) {
    case kNormal:
      return this;
    case kInvulnerable:
      blinkSprite->SetPosition(GetX(), GetY());
      blinkSprite->SetFrame(frame);
      return blinkSprite.get();
    default:
      return nullptr;
  }
}
