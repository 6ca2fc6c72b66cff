#pragma once

#include <memory>

#include "app/scene.h"
#include "game/player.h"

class Hud;
class NBossBase;
class NBulletList;
class NEnemyList;
class NEventProcess;
class NExplodeList;
class NExplodeRegionList;
class NFireList;
class NInputText;
class NMap;
class NPotionList;
class NSprite256;
class Surface;

// The game's states.
namespace game_state {
constexpr int kIdle = 0;
constexpr int kPlaying = 1;
constexpr int kEvent = 2;         // get ready or power up: the world stands still
constexpr int kGameOverText = 3;  // the world runs on without the player
constexpr int kGameOverCurtain = 4;
constexpr int kLevelClear = 5;  // 70 frames of the world running on
constexpr int kLevelOpening = 6;
constexpr int kLevelClosing = 7;
constexpr int kNameEntry = 8;
constexpr int kHandOver = 9;
}  // namespace game_state

// A figure of the running game for logs and tests.
struct GameSnapshot {
  int state, timer, stage, level, x, playerState, lives, potions, power;
  int enemies, bullets, shots, items, explosions, bossHitPoints;  // boss -1: none
};

// One play from its first level to game over or the last stage. Owns every
// object in play; hands over to the continue scene, the title or the ending
// through the application block.
class NGame : public Scene, public PlayerEvents {
 public:
  static constexpr int kClearWait = 70;
  static constexpr int kMaxPotions = 9999;
  static constexpr int kContinuePrice = 50;
  static constexpr int kNameLimit = 15;

  NGame();
  ~NGame() override;

  void SetStage(int newStage);
  void SetUpLevel(int newLevel);
  void SetPotions(int count);
  void Start() override {}
  void Update() override;
  void OnLastLifeLost() override;

  GameSnapshot Snapshot() const;
  // The world as the autopilot and the tests see it.
  NMyChara& Player() { return *player; }
  const NMyChara& Player() const { return *player; }
  NPotionList& Potions() { return *potions; }
  const NPotionList& Potions() const { return *potions; }
  NEnemyList& Enemies() { return *enemies; }
  const NEnemyList& Enemies() const { return *enemies; }
  NBulletList& Bullets() { return *bullets; }
  const NBulletList& Bullets() const { return *bullets; }
  NFireList& Shots() { return *shots; }
  NExplodeList& Explosions() { return *explosions; }
  const NBossBase* Boss() const { return boss.get(); }
  int GetState() const { return state; }
  // Development aid: a player that is never hit.
  void SetInvulnerable(bool flag) { player->SetNeverHit(flag); }

 private:
  void WorldStep();
  void StateStep();
  void CheckCollisions();
  void TakePotions();
  void ClearLevel();
  void AdvanceLevel();
  void BeginNameEntry();
  void FinishNameEntry();
  void HandOver();
  void NeedMusic(int tune);
  void Draw();
  void StartEvent(int kind);

  int stage = 0;
  int level = 0;
  std::unique_ptr<NMap> map;
  std::unique_ptr<NFireList> shots;
  std::unique_ptr<NBulletList> bullets;
  std::unique_ptr<NExplodeList> explosions;
  std::unique_ptr<NPotionList> potions;
  std::unique_ptr<NEnemyList> enemies;
  std::unique_ptr<NBossBase> boss;
  std::unique_ptr<NExplodeRegionList> explodeRegions;
  std::unique_ptr<NInputText> nameInput;
  std::unique_ptr<NSprite256> background;
  std::unique_ptr<Hud> hud;
  std::unique_ptr<NEventProcess> events;
  std::unique_ptr<NMyChara> player;
  int music = 0;  // 0 none, 1 the level tune, 2 the boss tune
  int state = game_state::kIdle;
  int timer = 0;
  Surface* backBuffer = nullptr;
};

// The game that is running, if any (for the statistics log).
const NGame* CurrentGame();
