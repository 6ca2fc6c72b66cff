#include "game/boss_chara03.h"

#include "generated/resource_ids.h"

namespace {

// Body, shell, head, sweat drops.
constexpr BossPart kParts[] = {
    {.bitmap = bitmap::kBoss3Snail,
     .script = script::kBoss3Body,
     .anchor = BossPart::kCentre,
     .x = 320,
     .y = 0,
     .top = 520,
     .hitPoints = 70},
    {.bitmap = bitmap::kBoss3Shell, .script = script::kBoss3Shell, .x = -66, .y = -34, .hitPoints = 420},
    {.bitmap = bitmap::kBoss3Head, .frames = 2, .script = script::kBoss3Head, .x = 54, .y = 85},
    {.bitmap = bitmap::kBoss3Sweat, .frames = 2, .script = script::kBoss3Sweat, .x = 112, .y = 77},
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
