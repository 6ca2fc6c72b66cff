#pragma once

#include <memory>

#include "gfx/number.h"
#include "gfx/sprite256.h"

class NMyChara;

// The status display: potions, power, stage and level along the top, the
// lives along the bottom.
class Hud {
 public:
  Hud();
  // Draws every item; the life icons then advance their animation one step.
  void Draw(Surface* target, const NMyChara& player, int stage, int level);

 private:
  std::unique_ptr<NNumber> number;
  std::unique_ptr<NSprite256> lifeIcon;
  std::unique_ptr<NSprite256> lifeLabel;
  std::unique_ptr<NSprite256> powerLabel;
  std::unique_ptr<NSprite256> stageLabel;
  std::unique_ptr<NSprite256> potionsLabel;
};
