#include "game/boss_chara05.h"

#include "generated/resource_ids.h"

namespace {

constexpr int kBallDelay = 2;
constexpr int kBallHitPoints = 30;
constexpr int kBallOffside = 320;  // the balls roll in from beyond the edges

// Body, head, photon orb, laser breath, the balls from the left and the right.
constexpr BossPart kParts[] = {
    {.bitmap = bitmap::kBoss5Body,
     .script = script::kBoss5Body,
     .anchor = BossPart::kCentre,
     .x = 320,
     .y = 0,
     .top = -226,
     .hitPoints = 600},
    {.bitmap = bitmap::kBoss5Head, .frames = 3, .script = script::kBoss5Head, .x = 95, .y = -3},
    {.bitmap = bitmap::kBoss5Photon, .frames = 3, .script = script::kBoss5Photon, .x = 131, .y = 80},
    {.bitmap = bitmap::kBoss5Laser, .frames = 2, .script = script::kBoss5Laser, .x = 28, .y = 102},
    {.bitmap = bitmap::kBoss5Ball,
     .frames = 4,
     .script = script::kBoss5BallLeft,
     .x = 50,
     .y = 48,
     .shiftX = -kBallOffside,
     .hitPoints = kBallHitPoints,
     .animationDelay = kBallDelay,
     .animated = true},
    {.bitmap = bitmap::kBoss5Ball,
     .frames = 4,
     .script = script::kBoss5BallRight,
     .x = 210,
     .y = 48,
     .shiftX = kBallOffside,
     .hitPoints = kBallHitPoints,
     .animationDelay = kBallDelay,
     .animated = true},
};
constexpr int kUpdate[] = {1, 2, 3, 4, 5};
constexpr int kDraw[] = {0, 1, 4, 5, 3, 2};
// Shots pass through the head, the orb and the laser.
constexpr int kTargets[] = {0, 4, 5};
constexpr int kHarmful[] = {0, 1, 2, 3, 4, 5};

}  // namespace

NBossChara05::NBossChara05() : TableBoss({kParts, kUpdate, kDraw, kTargets, kHarmful}) {}
