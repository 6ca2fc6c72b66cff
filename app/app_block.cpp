#include "app/app_block.h"

#include "audio/sound_list.h"

AppBlock::AppBlock() = default;
AppBlock::~AppBlock() = default;

AppBlock& GetAppBlock() {
  static AppBlock block;
  return block;
}

RankEntry& GetRankEntry(int index) { return GetAppBlock().ranking[static_cast<size_t>(index)]; }

NSoundList* GetSoundList() { return GetAppBlock().soundList.get(); }

void PlaySound(int slot) {
  if (NSoundList* bank = GetSoundList()) bank->Play(slot, 0);
}

void ResetAppBlock() {
  AppBlock& b = GetAppBlock();
  b.paused = 0;
  b.hotkeysEnabled = 1;
  b.lastFrameTime = 0;
  b.frameInterval = kNormalFrameInterval;
  b.startStage = 0;
  b.startLevel = 0;
  b.potionsCarried = 0;
  b.namedPotions = 0;
  b.sceneState = scene_state::kLogoStart;
  b.soundList.reset();
  b.ranking = {};
}
