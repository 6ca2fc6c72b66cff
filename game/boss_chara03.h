#pragma once

#include "game/table_boss.h"

// The snail (letter C). Its conch shell takes every shot while it stands and
// carries the head, the gun; once the shell is shot away the head falls still,
// the naked snail sweats and can be hit itself.
class NBossChara03 : public TableBoss {
 public:
  static constexpr int kShell = 1;
  static constexpr int kHead = 2;
  static constexpr int kSweat = 3;

  NBossChara03();

 protected:
  std::span<const int> UpdateOrder() const override;
  std::span<const int> DrawOrder() const override;
  std::span<const int> ShotTargets() const override;
  std::span<const int> HarmfulParts() const override;

 private:
  bool HasShell() const { return GetPart(kShell) != nullptr; }
};
