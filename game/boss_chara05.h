#pragma once

#include "game/table_boss.h"

// The coiled dragon (letter E): it circles in the upper half, breathes a laser
// after its head's volleys, and sends two rolling balls to charge the player.
class NBossChara05 : public TableBoss {
 public:
  NBossChara05();
};
