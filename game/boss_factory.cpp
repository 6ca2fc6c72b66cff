#include "game/boss_base.h"
#include "game/boss_chara01.h"
#include "game/boss_chara02.h"
#include "game/boss_chara03.h"
#include "game/boss_chara04.h"
#include "game/boss_chara05.h"

std::unique_ptr<NBossBase> MakeBoss(char letter) {
  switch (letter) {
    case 'A':
      return std::make_unique<NBossChara01>();
    case 'B':
      return std::make_unique<NBossChara02>();
    case 'C':
      return std::make_unique<NBossChara03>();
    case 'D':
      return std::make_unique<NBossChara04>();
    case 'E':
      return std::make_unique<NBossChara05>();
    default:
      return nullptr;
  }
}
