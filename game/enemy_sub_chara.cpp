#include "game/enemy_sub_chara.h"

namespace {
constexpr int kScriptMode = 1;
}  // namespace

NEnemySubChara::NEnemySubChara(int bitmapId, const NScript* partScript, int frames)
    : NEnemyChara(bitmapId, partScript, frames, kScriptMode) {}

NEnemySubChara::NEnemySubChara(const Surface& strip, const NScript* partScript, int frames)
    : NEnemyChara(strip, partScript, frames, kScriptMode) {}
