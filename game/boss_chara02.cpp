#include "game/boss_chara02.h"

namespace {

constexpr int kBubbleRadius = 122;
constexpr int kBubbleDelay = 2;

// Body, the bubbles east, south, west and north of it, the mouth.
constexpr BossPart kParts[] = {
    BodyPart(208, 2, 206, -160, 120, BossPart::kKeepTop, 160),
    PartOnBody(217, 4, 218, kBubbleRadius, 0, kUnbreakable, kBubbleDelay, true),
    PartOnBody(217, 4, 221, 0, kBubbleRadius, kUnbreakable, kBubbleDelay, true),
    PartOnBody(217, 4, 220, -kBubbleRadius, 0, kUnbreakable, kBubbleDelay, true),
    PartOnBody(217, 4, 219, 0, -kBubbleRadius, kUnbreakable, kBubbleDelay, true),
    PartAt(223, 4, 224, 130, 47, kUnbreakable),
};
constexpr int kUpdate[] = {1, 2, 3, 4, 5};
constexpr int kDraw[] = {0, 5, 1, 2, 3, 4};
// A shot that misses the fish is used up by a bubble or the mouth.
constexpr int kTargets[] = {0, 1, 2, 3, 4, 5};
constexpr int kHarmful[] = {0, 1, 2, 3, 4, 5};

}  // namespace

NBossChara02::NBossChara02() : TableBoss({kParts, kUpdate, kDraw, kTargets, kHarmful}) {}
