#pragma once

#include "game/table_boss.h"

// The fish (letter B): it swims to and fro across the screen inside a ring of
// four orbiting bubbles that soak up the shots meant for it.
class NBossChara02 : public TableBoss {
 public:
  NBossChara02();
};
