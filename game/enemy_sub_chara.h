#pragma once

#include "game/enemy_chara.h"

// A part of a boss. It moves in coordinates local to the boss body (its
// script's MOVE and SHIFT, SetPosition, Shift) but reports its place on
// screen, the local position plus the body's top-left corner, so drawing,
// hit tests, centres, shots and aiming all happen where it is seen. The
// body itself keeps a parent offset of 0.
class NEnemySubChara : public NEnemyChara {
 public:
  // Parts fly their scripts from the first frame on (mode 1).
  NEnemySubChara(int bitmapId, const NScript* script, int frames);
  // From an in-memory strip (tests).
  NEnemySubChara(const Surface& strip, const NScript* script, int frames);

  int GetX() const override { return NEnemyChara::GetX() + parentX; }
  int GetY() const override { return NEnemyChara::GetY() + parentY; }

  // Written by the owning boss: the body's top-left corner.
  int parentX = 0;
  int parentY = 0;
};
