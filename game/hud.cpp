#include "game/hud.h"

#include "game/player.h"
#include "generated/resource_ids.h"

namespace {
constexpr int kGap = 10;  // between a label and its number
constexpr int kLifeIconDelay = 3;
}  // namespace

Hud::Hud()
    : number(std::make_unique<NNumber>()),
      lifeIcon(std::make_unique<NSprite256>(bitmap::kLifeIcon, 4)),
      lifeLabel(std::make_unique<NSprite256>(bitmap::kLabelLife, 1)),
      powerLabel(std::make_unique<NSprite256>(bitmap::kLabelPower, 1)),
      stageLabel(std::make_unique<NSprite256>(bitmap::kLabelStage, 1)),
      potionsLabel(std::make_unique<NSprite256>(bitmap::kLabelPotions, 1)) {
  number->SetFont(0);
  lifeIcon->SetAnimation(kLifeIconDelay);
  lifeLabel->SetPosition(8, 452);
  potionsLabel->SetPosition(8, 4);
  powerLabel->SetPosition(200, 4);
  stageLabel->SetPosition(504, 4);
}

void Hud::Draw(Surface* target, const NMyChara& player, int stage, int level) {
  number->SetTarget(target);
  lifeLabel->Draw(target);
  int iconX = lifeLabel->GetX() + lifeLabel->GetWidth() + kGap;
  for (int i = 0; i < player.lives; ++i) {
    lifeIcon->SetPosition(iconX + lifeIcon->GetWidth() * i, 454);
    lifeIcon->Draw(target);
  }
  lifeIcon->Animate();
  potionsLabel->Draw(target);
  number->DrawNumber(potionsLabel->GetX() + potionsLabel->GetWidth() + kGap, 5, player.potionCount, 4);
  powerLabel->Draw(target);
  number->DrawNumber(powerLabel->GetX() + powerLabel->GetWidth() + kGap, 5, player.powerLevel + 1, 1);
  stageLabel->Draw(target);
  int x = number->DrawNumber(stageLabel->GetX() + stageLabel->GetWidth() + kGap, 5, stage, 1);
  x = number->DrawDash(x, 5);
  number->DrawNumber(x, 5, level, 2);
}
