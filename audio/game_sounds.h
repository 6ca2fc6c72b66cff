#pragma once

class NSoundList;

// The game's sound bank: its slots, by what they are played for.
namespace sound {
constexpr int kVolley = 0;
constexpr int kExplosionSmall = 1;
constexpr int kExplosionLarge = 2;
constexpr int kChime = 3;  // potion taken, confirm in menus
constexpr int kGetReady = 4;
constexpr int kPowerUp = 5;
constexpr int kWhoosh = 6;
constexpr int kGameOverFly = 7;
constexpr int kGameOverHold = 8;
constexpr int kPlayerHit = 9;
constexpr int kBossRoar = 10;
constexpr int kMenuMove = 11;
constexpr int kContinue = 12;
constexpr int kEnemyVolley = 13;
constexpr int kEnemyFlame = 14;
constexpr int kPhotonCharge = 15;
constexpr int kLaser = 16;
constexpr int kLogoJingle = 17;
}  // namespace sound

// Loads the game's 18 effects in their fixed order; the order gives the slot
// numbers above.
void LoadGameSounds(NSoundList& bank);
