#include "game/boss_chara04.h"

#include "generated/resource_ids.h"

namespace {

constexpr int kDelay = 2;
constexpr int kFlowerHitPoints = 180;

// A flower: they differ only in the script that moves it out.
constexpr BossPart Flower(int script) {
  return {.bitmap = bitmap::kBoss4Flower,
          .frames = 4,
          .script = script,
          .anchor = BossPart::kBodyCentre,
          .hitPoints = kFlowerHitPoints,
          .animationDelay = kDelay,
          .animated = true};
}

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
    Flower(script::kBoss4FlowerEast),
    Flower(script::kBoss4FlowerSouth),
    Flower(script::kBoss4FlowerWest),
    Flower(script::kBoss4FlowerNorth),
};
constexpr int kUpdate[] = {1, 2, 3, 4};
constexpr int kDraw[] = {0, 1, 2, 3, 4};  // the flowers cover the body
constexpr int kTargets[] = {0, 1, 2, 3, 4};
constexpr int kHarmful[] = {0, 1, 2, 3, 4};

}  // namespace

NBossChara04::NBossChara04() : TableBoss({kParts, kUpdate, kDraw, kTargets, kHarmful}) {}
