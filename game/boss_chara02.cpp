#include "game/boss_chara02.h"

#include "generated/resource_ids.h"

namespace {

constexpr int kBubbleRadius = 122;
constexpr int kBubbleDelay = 2;

// Body, the bubbles east, south, west and north of it, the mouth.
constexpr BossPart kParts[] = {
    {.bitmap = bitmap::kBoss2Fish,
     .frames = 2,
     .script = script::kBoss2Body,
     .anchor = BossPart::kCentre,
     .x = -160,
     .y = 120,
     .hitPoints = 160},
    {.bitmap = bitmap::kBoss2Bubble,
     .frames = 4,
     .script = script::kBoss2BubbleEast,
     .anchor = BossPart::kBodyCentre,
     .shiftX = kBubbleRadius,
     .animationDelay = kBubbleDelay,
     .animated = true},
    {.bitmap = bitmap::kBoss2Bubble,
     .frames = 4,
     .script = script::kBoss2BubbleSouth,
     .anchor = BossPart::kBodyCentre,
     .shiftY = kBubbleRadius,
     .animationDelay = kBubbleDelay,
     .animated = true},
    {.bitmap = bitmap::kBoss2Bubble,
     .frames = 4,
     .script = script::kBoss2BubbleWest,
     .anchor = BossPart::kBodyCentre,
     .shiftX = -kBubbleRadius,
     .animationDelay = kBubbleDelay,
     .animated = true},
    {.bitmap = bitmap::kBoss2Bubble,
     .frames = 4,
     .script = script::kBoss2BubbleNorth,
     .anchor = BossPart::kBodyCentre,
     .shiftY = -kBubbleRadius,
     .animationDelay = kBubbleDelay,
     .animated = true},
    {.bitmap = bitmap::kBoss2Mouth, .frames = 4, .script = script::kBoss2Mouth, .x = 130, .y = 47},
};
constexpr int kUpdate[] = {1, 2, 3, 4, 5};
constexpr int kDraw[] = {0, 5, 1, 2, 3, 4};
// A shot that misses the fish is used up by a bubble or the mouth.
constexpr int kTargets[] = {0, 1, 2, 3, 4, 5};
constexpr int kHarmful[] = {0, 1, 2, 3, 4, 5};

}  // namespace

NBossChara02::NBossChara02() : TableBoss({kParts, kUpdate, kDraw, kTargets, kHarmful}) {}
