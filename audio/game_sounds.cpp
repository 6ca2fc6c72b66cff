#include "audio/game_sounds.h"

#include "audio/sound_list.h"
#include "generated/resource_ids.h"

void LoadGameSounds(NSoundList& bank) {
  bank.LoadFromResource(wave::kVolley, 1);
  // Two copies each, so that two explosions can sound at once.
  bank.LoadFromResource(wave::kExplosionSmall, 2);
  bank.LoadFromResource(wave::kExplosionLarge, 2);
  for (int id : {wave::kChime, wave::kGetReady, wave::kPowerUp, wave::kWhoosh, wave::kGameOverFly, wave::kGameOverHold,
                 wave::kPlayerHit, wave::kBossRoar, wave::kMenuTick, wave::kContinue, wave::kEnemyVolley,
                 wave::kEnemyFlame, wave::kPhotonCharge, wave::kLaser, wave::kLogoJingle}) {
    bank.LoadFromResource(id, 1);
  }
}
