#include "game/boss_base.h"

// The five bosses join here as they are built; until then a boss level
// holds no boss and clears at once.
std::unique_ptr<NBossBase> MakeBoss(char) { return nullptr; }
