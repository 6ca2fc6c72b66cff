#include "game/boss_chara03.h"

namespace {

// Body, shell, head, sweat drops.
constexpr BossPart kParts[] = {
    BodyPart(225, 1, 228, 320, 0, 520, 70),
    PartAt(227, 1, 230, -66, -34, 420),
    PartAt(226, 2, 229, 54, 85, kUnbreakable),
    PartAt(234, 2, 235, 112, 77, kUnbreakable),
};

// The sweat keeps its beat all along but shows only once the shell is gone.
constexpr int kUpdateShelled[] = {NBossChara03::kSweat, NBossChara03::kShell, NBossChara03::kHead};
constexpr int kUpdateBare[] = {NBossChara03::kSweat};
constexpr int kDrawShelled[] = {0, NBossChara03::kShell, NBossChara03::kHead};
constexpr int kDrawBare[] = {0, NBossChara03::kSweat};
constexpr int kTargetsShelled[] = {NBossChara03::kShell};
constexpr int kTargetsBare[] = {0};
constexpr int kHarmfulShelled[] = {0, NBossChara03::kShell};
constexpr int kHarmfulBare[] = {0};

}  // namespace

NBossChara03::NBossChara03() : TableBoss({kParts, kUpdateShelled, kDrawShelled, kTargetsShelled, kHarmfulShelled}) {}

std::span<const int> NBossChara03::UpdateOrder() const {
  return HasShell() ? std::span<const int>(kUpdateShelled) : kUpdateBare;
}

std::span<const int> NBossChara03::DrawOrder() const {
  return HasShell() ? std::span<const int>(kDrawShelled) : kDrawBare;
}

// Asked again for every shot: a shot that breaks the shell lets the next
// one of the same frame reach the snail.
std::span<const int> NBossChara03::ShotTargets() const {
  return HasShell() ? std::span<const int>(kTargetsShelled) : kTargetsBare;
}

std::span<const int> NBossChara03::HarmfulParts() const {
  return HasShell() ? std::span<const int>(kHarmfulShelled) : kHarmfulBare;
}
