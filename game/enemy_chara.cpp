#include "game/enemy_chara.h"

#include <climits>

#include "script/script_runner.h"
#include "script/script_world.h"

NEnemyChara::NEnemyChara(int bitmapId, const NScript* enemyScript, int frames, int startMode)
    : NSprite256(bitmapId, frames), mode(startMode), script(enemyScript) {
  Init();
}

NEnemyChara::NEnemyChara(const NDib256& dib, const NScript* enemyScript, int frames, int startMode)
    : NSprite256(dib, frames), mode(startMode), script(enemyScript) {
  Init();
}

NEnemyChara::NEnemyChara(const Surface& strip, const NScript* enemyScript, int frames, int startMode)
    : NSprite256(strip, frames), mode(startMode), script(enemyScript) {
  Init();
}

void NEnemyChara::Init() {
  // Every enemy starts sliding right with the formation.
  SetSpeed(kSpeed);
  SetAnimation(kAnimationDelay);
  SetDirection(0);
}

void NEnemyChara::RunScript(BulletSink& bullets, const PlayerView& player) {
  RunScript(bullets, player, BankSounds(), GameChance());
}

void NEnemyChara::RunScript(BulletSink& bullets, const PlayerView& player, SoundSink& sounds, ChanceSource& chance) {
  if (mode == 0) {
    FormationStep(bullets, chance);
  } else if (mode == 1) {
    ScriptContext context{&bullets, &player, &sounds};
    RunScriptFrame(*this, script, state, CommandSet::Full, context);
  }
}

void NEnemyChara::FormationStep(BulletSink& bullets, ChanceSource& chance) {
  NSprite256::Move();
  // The chance shot leaves from the centre: the bullet offset is the
  // script's, and the script is not running yet.
  if (fireChance != 0 && chance.Random(fireChance) == 0) {
    bullets.Shoot(GetCenterX(), GetCenterY(), kFormationPattern);
  }
  if (diveDelay != 0) {
    if (diveDelay != INT_MIN) --diveDelay;
    return;
  }
  // The dive starts with the script's first command in the next frame.
  mode = 1;
  state.Restart();
}
