#include "game/boss_chara01.h"

namespace {

// Body, head, wings, the two photon orbs, the two laser beams.
constexpr BossPart kParts[] = {
    BodyPart(174, 1, 175, 320, 0, -188, 440),    PartAt(173, 2, 176, 103, -24, kUnbreakable),
    PartAt(172, 2, 177, -73, -31, kUnbreakable), PartAt(179, 7, 180, 3, 34, kUnbreakable),
    PartAt(179, 7, 180, 219, 34, kUnbreakable),  PartAt(253, 3, 254, 15, 78, kUnbreakable),
    PartAt(253, 3, 254, 231, 78, kUnbreakable),
};
constexpr int kUpdate[] = {1, 2, 3, 4, 5, 6};
constexpr int kDraw[] = {2, 0, 1, 3, 4, 5, 6};  // the wings behind the body
constexpr int kTargets[] = {0};
// The lasers hurt only while a beam shows: their frame 0 is empty.
constexpr int kHarmful[] = {0, 1, 2, 3, 4, 5, 6};

}  // namespace

NBossChara01::NBossChara01() : TableBoss({kParts, kUpdate, kDraw, kTargets, kHarmful}) {}
