#include "game/boss_chara04.h"

#include "generated/resource_ids.h"

namespace {

constexpr int kDelay = 2;
constexpr int kFlowerHitPoints = 180;

// Body, then the flowers that move out east, south, west and north.
constexpr BossPart kParts[] = {
    {.bitmap = bitmap::kBoss4Creature,
     .frames = 4,
     .script = script::kBoss4Body,
     .anchor = BossPart::kCentre,
     .x = 320,
     .y = 240,
     .top = 502,
     .hitPoints = 360,
     .animationDelay = kDelay,
     .animated = true},
    {.bitmap = bitmap::kBoss4Flower,
     .frames = 4,
     .script = script::kBoss4FlowerEast,
     .anchor = BossPart::kBodyCentre,
     .hitPoints = kFlowerHitPoints,
     .animationDelay = kDelay,
     .animated = true},
    {.bitmap = bitmap::kBoss4Flower,
     .frames = 4,
     .script = script::kBoss4FlowerSouth,
     .anchor = BossPart::kBodyCentre,
     .hitPoints = kFlowerHitPoints,
     .animationDelay = kDelay,
     .animated = true},
    {.bitmap = bitmap::kBoss4Flower,
     .frames = 4,
     .script = script::kBoss4FlowerWest,
     .anchor = BossPart::kBodyCentre,
     .hitPoints = kFlowerHitPoints,
     .animationDelay = kDelay,
     .animated = true},
    {.bitmap = bitmap::kBoss4Flower,
     .frames = 4,
     .script = script::kBoss4FlowerNorth,
     .anchor = BossPart::kBodyCentre,
     .hitPoints = kFlowerHitPoints,
     .animationDelay = kDelay,
     .animated = true},
};
constexpr int kUpdate[] = {1, 2, 3, 4};
constexpr int kDraw[] = {0, 1, 2, 3, 4};  // the flowers cover the body
constexpr int kTargets[] = {0, 1, 2, 3, 4};
constexpr int kHarmful[] = {0, 1, 2, 3, 4};

}  // namespace

NBossChara04::NBossChara04() : TableBoss({kParts, kUpdate, kDraw, kTargets, kHarmful}) {}
