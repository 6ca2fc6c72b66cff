#include "game/potion_chara.h"

#include "script/script_runner.h"
#include "script/script_world.h"

NPotionChara::NPotionChara(const NDib256& dib, const NScript* potionScript, int potionKind)
    : NSprite256(dib, 1), kind(potionKind), script(potionScript) {}

NPotionChara::NPotionChara(int bitmapId, const NScript* potionScript, int potionKind)
    : NSprite256(bitmapId, 1), kind(potionKind), script(potionScript) {}

NPotionChara::NPotionChara(const Surface& strip, const NScript* potionScript, int potionKind)
    : NSprite256(strip, 1), kind(potionKind), script(potionScript) {}

void NPotionChara::Move() { Step(BankSounds()); }

void NPotionChara::Step(SoundSink& sounds) {
  ScriptContext context;
  context.sounds = &sounds;
  RunScriptFrame(*this, script, state, CommandSet::Reduced, context);
}
