#include "game/boss_chara04.h"

namespace {

constexpr int kDelay = 2;
constexpr int kFlowerHitPoints = 180;

// Body, then the flowers that move out east, south, west and north.
constexpr BossPart kParts[] = {
    BodyPart(236, 4, 242, 320, 240, 502, 360, kDelay, true),
    PartOnBody(237, 4, 238, 0, 0, kFlowerHitPoints, kDelay, true),
    PartOnBody(237, 4, 239, 0, 0, kFlowerHitPoints, kDelay, true),
    PartOnBody(237, 4, 240, 0, 0, kFlowerHitPoints, kDelay, true),
    PartOnBody(237, 4, 241, 0, 0, kFlowerHitPoints, kDelay, true),
};
constexpr int kUpdate[] = {1, 2, 3, 4};
constexpr int kDraw[] = {0, 1, 2, 3, 4};  // the flowers cover the body
constexpr int kTargets[] = {0, 1, 2, 3, 4};
constexpr int kHarmful[] = {0, 1, 2, 3, 4};

}  // namespace

NBossChara04::NBossChara04() : TableBoss({kParts, kUpdate, kDraw, kTargets, kHarmful}) {}
