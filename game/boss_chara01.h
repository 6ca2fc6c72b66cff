#pragma once

#include "game/table_boss.h"

// The demon (letter A): a body between flapping wings, a head that spits
// volleys and two photon orbs that charge and fire lasers the length of the
// screen. Only the body takes shots; every part hurts.
class NBossChara01 : public TableBoss {
 public:
  NBossChara01();
};
