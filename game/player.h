#pragma once

#include <memory>

#include "gfx/sprite256.h"
#include "script/script_world.h"

class NExplodeList;

// What the player tells its game: the last life is gone.
class PlayerEvents {
 public:
  virtual ~PlayerEvents() = default;
  virtual void OnLastLifeLost() = 0;
};

// The witch: flies sideways along the bottom, carries the game's running
// counts (potions, power level, lives) and reacts to being hit.
class NMyChara : public NSprite256, public PlayerView {
 public:
  static constexpr float kSpeed = 8.0f;
  static constexpr int kAnimationDelay = 2;
  static constexpr int kStartLives = 5;
  static constexpr int kInvulnerableFrames = 75;
  static constexpr int kNormal = 0;
  static constexpr int kInvulnerable = 1;
  static constexpr int kDead = 2;

  explicit NMyChara(PlayerEvents* game);
  ~NMyChara() override;

  // One step along the direction the game set, kept on the screen.
  void Move() override;
  // Touched by an enemy, a bullet or a boss part: only a player in the
  // normal state loses a life; the last one ends the game.
  void Hit(NExplodeList& explosions);
  // Counts down the blinking after a hit (once per world frame).
  void CountInvulnerability();
  // Development aid: a player that is never hit.
  void SetNeverHit(bool flag) { neverHit = flag; }

  int GetCenterX() const override { return NSprite256::GetCenterX(); }
  int GetCenterY() const override { return NSprite256::GetCenterY(); }
  // The sprite to draw this frame: the pale one while blinking, none when dead.
  const NSprite256* Look() const;

  int powerLevel = 0;
  int potionCount = 0;
  int invulnerableTimer = 0;
  int lives = kStartLives;
  int playerState = kNormal;

 private:
  PlayerEvents* game;
  std::unique_ptr<NSprite256> blinkSprite;
  bool neverHit = false;
};
