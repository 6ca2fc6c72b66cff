#include "game/boss_chara05.h"

namespace {

constexpr int kBallDelay = 2;
constexpr int kBallHitPoints = 30;
constexpr int kBallOffside = 320;  // the balls roll in from beyond the edges

// Body, head, photon orb, laser breath, the balls from the left and the right.
constexpr BossPart kParts[] = {
    BodyPart(247, 1, 248, 320, 0, -226, 600),
    PartAt(246, 3, 249, 95, -3, kUnbreakable),
    PartAt(267, 3, 268, 131, 80, kUnbreakable),
    PartAt(265, 2, 266, 28, 102, kUnbreakable),
    PartAt(269, 4, 270, 50, 48, kBallHitPoints, kBallDelay, true, -kBallOffside, 0),
    PartAt(269, 4, 271, 210, 48, kBallHitPoints, kBallDelay, true, kBallOffside, 0),
};
constexpr int kUpdate[] = {1, 2, 3, 4, 5};
constexpr int kDraw[] = {0, 1, 4, 5, 3, 2};
// Shots pass through the head, the orb and the laser.
constexpr int kTargets[] = {0, 4, 5};
constexpr int kHarmful[] = {0, 1, 2, 3, 4, 5};

}  // namespace

NBossChara05::NBossChara05() : TableBoss({kParts, kUpdate, kDraw, kTargets, kHarmful}) {}
