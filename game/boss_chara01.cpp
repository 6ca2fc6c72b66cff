#include "game/boss_chara01.h"

#include "generated/resource_ids.h"

namespace {

// Body, head, wings, the two photon orbs, the two laser beams.
constexpr BossPart kParts[] = {
    {.bitmap = bitmap::kBoss1Body,
     .script = script::kBoss1Body,
     .anchor = BossPart::kCentre,
     .x = 320,
     .y = 0,
     .top = -188,
     .hitPoints = 440},
    {.bitmap = bitmap::kBoss1Head, .frames = 2, .script = script::kBoss1Head, .x = 103, .y = -24},
    {.bitmap = bitmap::kBoss1Wings, .frames = 2, .script = script::kBoss1Wings, .x = -73, .y = -31},
    {.bitmap = bitmap::kBoss1Photon, .frames = 7, .script = script::kBoss1Photon, .x = 3, .y = 34},
    {.bitmap = bitmap::kBoss1Photon, .frames = 7, .script = script::kBoss1Photon, .x = 219, .y = 34},
    {.bitmap = bitmap::kBoss1Laser, .frames = 3, .script = script::kBoss1Laser, .x = 15, .y = 78},
    {.bitmap = bitmap::kBoss1Laser, .frames = 3, .script = script::kBoss1Laser, .x = 231, .y = 78},
};
constexpr int kUpdate[] = {1, 2, 3, 4, 5, 6};
constexpr int kDraw[] = {2, 0, 1, 3, 4, 5, 6};  // the wings behind the body
constexpr int kTargets[] = {0};
// The lasers hurt only while a beam shows: their frame 0 is empty.
constexpr int kHarmful[] = {0, 1, 2, 3, 4, 5, 6};

}  // namespace

NBossChara01::NBossChara01() : TableBoss({kParts, kUpdate, kDraw, kTargets, kHarmful}) {}
