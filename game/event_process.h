#pragma once

#include <array>
#include <memory>

#include "game/potion_chara.h"
#include "gfx/dib256.h"
#include "script/script.h"

// The big notices that fly over the playfield: get ready, game over (two
// words) and power up (text and picture). Each is one or two script-driven
// sprites; the event is over when they have left the screen.
class NEventProcess {
 public:
  static constexpr int kGetReady = 0;
  static constexpr int kGameOver = 1;
  static constexpr int kPowerUp = 2;

  NEventProcess();
  virtual ~NEventProcess();

  // Creates the event's sprites just outside the screen. Callers clear any
  // sprites still present first (ClearSprites).
  void Start(int kind);
  // Moves each sprite one script step; one wholly off the screen goes.
  void Update();
  void ClearSprites();
  bool IsOver() const { return !first && !second; }
  // The game draws the second sprite, then the first.
  void Draw(Surface* target) const;

  std::unique_ptr<NPotionChara> first;
  std::unique_ptr<NPotionChara> second;

 private:
  std::unique_ptr<NPotionChara> Make(int index);

  std::array<std::unique_ptr<NDib256>, 5> bitmaps_;
  std::array<std::unique_ptr<NScript>, 5> scripts_;
};
