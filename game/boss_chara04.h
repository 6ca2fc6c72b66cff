#pragma once

#include "game/table_boss.h"

// The flower creature (letter D): it runs rectangles and dashes while four
// flowers orbit it; the flowers can be shot down, but only the body counts.
class NBossChara04 : public TableBoss {
 public:
  NBossChara04();
};
