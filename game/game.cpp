#include "game/game.h"

#include "app/app_block.h"
#include "app/ranking.h"
#include "app/scene.h"
#include "audio/game_sounds.h"
#include "audio/music.h"
#include "game/boss_base.h"
#include "game/bullet_list.h"
#include "game/enemy_list.h"
#include "game/event_process.h"
#include "game/explode_list.h"
#include "game/explode_region_list.h"
#include "game/fire_list.h"
#include "game/hud.h"
#include "game/map.h"
#include "game/potion_list.h"
#include "generated/resource_ids.h"
#include "gfx/curtain.h"
#include "gfx/display.h"
#include "input/input.h"
#include "scenes/input_text.h"

using namespace game_state;

namespace {

const NGame* currentGame = nullptr;

constexpr int kLevelTune = 1;
constexpr int kBossTune = 2;
constexpr const char* kTuneFiles[] = {nullptr, "Music01.mid", "Music02.mid"};
constexpr int kLastStage = 4;
constexpr int kLastLevelOfLastStage = 5;
constexpr int kLevelsPerStage = 16;
constexpr int kPlayerBottomGap = 6;

int BackgroundFor(int stage) {
  switch (stage) {
    case 1:
      return bitmap::kBackgroundStage1;
    case 2:
      return bitmap::kBackgroundStage2;
    case 3:
      return bitmap::kBackgroundStage3;
    default:
      return bitmap::kBackgroundStage4;
  }
}

bool FirePressed() {
  return IsKeyPressed(key::kSpace) || IsKeyPressed(key::kLeftControl) || IsKeyPressed(key::kRightControl) ||
         IsJoyButtonPressed(0);
}

}  // namespace

const NGame* CurrentGame() { return currentGame; }

NGame::NGame()
    : map(std::make_unique<NMap>()),
      shots(std::make_unique<NFireList>()),
      bullets(std::make_unique<NBulletList>()),
      explosions(std::make_unique<NExplodeList>()),
      potions(std::make_unique<NPotionList>()),
      enemies(std::make_unique<NEnemyList>()),
      explodeRegions(std::make_unique<NExplodeRegionList>(explosions.get(), potions.get())),
      nameInput(std::make_unique<NInputText>()),
      hud(std::make_unique<Hud>()),
      events(std::make_unique<NEventProcess>()),
      backBuffer(GetBackSurface()) {
  nameInput->SetSurface(backBuffer);
  nameInput->SetPrompt(NString("Enter Your Name  "));
  nameInput->CenterOnScreen();
  player = std::make_unique<NMyChara>(this);
  bullets->SetTarget(player.get());
  currentGame = this;
}

NGame::~NGame() {
  if (currentGame == this) currentGame = nullptr;
  CloseMusic();
  // Everything in play goes in a fixed order, the sprites before what they share.
  map.reset();
  player.reset();
  shots.reset();
  bullets.reset();
  potions.reset();
  explosions.reset();
  enemies.reset();
  boss.reset();
  explodeRegions.reset();
  nameInput.reset();
  hud.reset();
  background.reset();
  events.reset();
}

void NGame::SetStage(int newStage) {
  stage = newStage;
  map->Load(stage);
}

void NGame::SetPotions(int count) {
  player->potionCount = count;
  player->powerLevel = PowerLevelFor(count);
}

void NGame::ClearLevel() {
  background.reset();
  boss.reset();
  player->playerState = NMyChara::kNormal;
  player->SetCenter(GetScreenWidth() / 2, GetScreenHeight() - kPlayerBottomGap - player->GetHeight());
  shots->Clear();
  bullets->Clear();
  explosions->Clear();
  potions->Clear();
  enemies->Clear();
  explodeRegions->Clear();
}

void NGame::NeedMusic(int tune) {
  if (music == tune) return;  // a tune already playing is not restarted
  CloseMusic();
  music = tune;
  PlayMusic(kTuneFiles[tune]);
}

void NGame::SetUpLevel(int newLevel) {
  ClearLevel();
  level = newLevel;
  map->SetLevel(level);
  background = std::make_unique<NSprite256>(BackgroundFor(stage), 1);
  background->SetTransparent(false);
  char letter = enemies->BuildFormation(*map);
  if (letter != 0) boss = MakeBoss(letter);
  if (boss) {
    boss->CreateParts();
  }
  NeedMusic(letter != 0 ? kBossTune : kLevelTune);
  timer = kCurtainFrames;
  state = kLevelOpening;
}

void NGame::StartEvent(int kind) {
  events->ClearSprites();
  events->Start(kind);
}

void NGame::OnLastLifeLost() {
  state = kGameOverText;
  timer = 0;
  StartEvent(NEventProcess::kGameOver);
}

void NGame::TakePotions() {
  for (int i = 0; i < NPotionList::kSlots; ++i) {
    NPotionChara* potion = potions->Get(i);
    if (!potion || !potion->IsHit(*player)) continue;
    if (potion->GetKind() == NPotionChara::kPotion) {
      if (player->potionCount < kMaxPotions) ++player->potionCount;
      // A power-up due while she blinks comes with the next potion taken
      // in the normal state; one level per potion at most.
      int next = NextPowerThreshold(player->powerLevel);
      if (next >= 0 && player->potionCount >= next && player->playerState == NMyChara::kNormal) {
        ++player->powerLevel;
        state = kEvent;
        timer = 0;
        StartEvent(NEventProcess::kPowerUp);
      }
    } else if (potion->GetKind() == NPotionChara::kLifePotion && player->playerState == NMyChara::kNormal) {
      ++player->lives;
    }
    PlaySound(sound::kChime);
    potions->Remove(i);
  }
}

void NGame::CheckCollisions() {
  enemies->TakeShots(*shots, *explosions, *potions);
  if (boss) boss->TakeShots(*shots, *explodeRegions);
  if (player->playerState != NMyChara::kDead) {
    TakePotions();
    enemies->TouchPlayer(*player, *explosions);
    for (int i = 0; i < NBulletList::kSlots; ++i) {
      NBulletChara* bullet = bullets->Get(i);
      if (!bullet || !bullet->IsHit(*player)) continue;
      bullets->Remove(i);  // gone even when the hit costs nothing
      player->Hit(*explosions);
    }
    if (boss) boss->TouchPlayer(*player, *explosions);
  }
  explodeRegions->Update();
}

void NGame::WorldStep() {
  UpdateInput();
  CheckCollisions();
  bullets->Animate();
  enemies->AnimateFormation();
  shots->Animate();
  player->Animate();
  player->CountInvulnerability();
  explosions->Update();
  shots->Update();
  bullets->Update();
  potions->Update();
  enemies->Update(*bullets, *player);
  if (boss) boss->Update(*bullets, *player);
  int direction = GetKeyHorizontal();
  if (direction == -1) direction = GetJoyHorizontal();
  player->SetDirection(direction);
  player->Move();
  if (FirePressed() && player->playerState != NMyChara::kDead) {
    shots->Fire(player->GetCenterX(), player->GetCenterY(), player->powerLevel);
  }
}

void NGame::BeginNameEntry() {
  state = kNameEntry;
  GetAppBlock().namedPotions = player->potionCount;
  nameInput->SetText(NString(""), kNameLimit);
  nameInput->Begin();
}

void NGame::FinishNameEntry() {
  NString name = nameInput->GetText();
  name.Trim(2, ' ');
  if (EnterRanking(player->potionCount, name) < 0) SaveRanking();
  bool completed = player->playerState != NMyChara::kDead && stage >= kLastStage && level >= kLastLevelOfLastStage;
  if (completed) {
    state = kIdle;
    GetAppBlock().sceneState = scene_state::kEndingStart;
  } else {
    state = kHandOver;
  }
}

void NGame::HandOver() {
  state = kIdle;
  AppBlock& app = GetAppBlock();
  app.startStage = stage;
  app.startLevel = level;
  app.potionsCarried = player->potionCount - kContinuePrice;
  app.sceneState = app.potionsCarried < 0 ? scene_state::kTitleStart : scene_state::kContinueStart;
}

void NGame::AdvanceLevel() {
  if (stage < kLastStage || level < kLastLevelOfLastStage) {
    if (level < kLevelsPerStage) {
      state = kIdle;
      SetUpLevel(level + 1);
    } else if (stage < kLastStage) {
      ++stage;
      state = kIdle;
      map->Load(stage);
      SetUpLevel(1);
    }
    return;
  }
  // The last level of the last stage: the game is complete.
  CloseMusic();
  music = 0;
  if (FindRankPosition(player->potionCount) < 0) {
    state = kIdle;
    GetAppBlock().sceneState = scene_state::kEndingStart;
  } else {
    BeginNameEntry();
  }
}

void NGame::StateStep() {
  switch (state) {
    case kPlaying:
      if (enemies->Count() == 0 && explodeRegions->IsEmpty() && (!boss || boss->IsDefeated())) {
        state = kLevelClear;
        timer = kClearWait;
      }
      break;
    case kEvent:
      events->Update();
      if (events->IsOver()) state = kPlaying;
      break;
    case kGameOverText:
      events->Update();
      if (events->IsOver()) {
        state = kGameOverCurtain;
        timer = kCurtainFrames;
      }
      break;
    case kGameOverCurtain:
      if (timer < 1) {
        CloseMusic();
        music = 0;
        if (FindRankPosition(player->potionCount) >= 0) {
          BeginNameEntry();
        } else {
          state = kHandOver;
        }
      }
      break;
    case kLevelClear:
      if (timer < 1) {
        state = kLevelClosing;
        timer = kCurtainFrames;
      }
      break;
    case kLevelOpening:
      if (timer < 1) {
        state = kEvent;
        timer = 0;
        StartEvent(NEventProcess::kGetReady);
      }
      break;
    case kLevelClosing:
      if (timer < 1) AdvanceLevel();
      break;
    case kNameEntry:
      if (nameInput->IsFinished()) {
        FinishNameEntry();
      } else {
        nameInput->Update();
      }
      break;
    case kHandOver:
      HandOver();
      break;
    default:
      break;
  }
}

void NGame::Update() {
  if (state == kPlaying || state == kGameOverText || state == kLevelClear) WorldStep();
  StateStep();
  if (timer > 0) --timer;
  Draw();
}

void NGame::Draw() {
  if (state == kNameEntry) return;  // the name entry draws itself
  if (state == kIdle || state == kHandOver) {
    DrawCurtain(backBuffer, 100);
    return;
  }
  if (background) background->Draw(backBuffer);
  bullets->Draw(backBuffer, 1);
  enemies->Draw(backBuffer);
  if (boss) boss->Draw(backBuffer);
  bullets->Draw(backBuffer, 0);
  shots->Draw(backBuffer);
  potions->Draw(backBuffer);
  if (const NSprite256* look = player->Look()) look->Draw(backBuffer);
  explosions->Draw(backBuffer);
  if (state == kEvent || state == kGameOverText) events->Draw(backBuffer);
  hud->Draw(backBuffer, *player, stage, level);
  if (state == kLevelOpening) DrawOpeningCurtain(backBuffer, timer);
  if (state == kLevelClosing || state == kGameOverCurtain) DrawClosingCurtain(backBuffer, timer);
}

GameSnapshot NGame::Snapshot() const {
  return {state,
          timer,
          stage,
          level,
          player->GetX(),
          player->playerState,
          player->lives,
          player->potionCount,
          player->powerLevel,
          enemies->Count(),
          NBulletList::kSlots - bullets->CountFreeSlots(),
          NFireList::kSlots - shots->CountFreeSlots(),
          potions->Count(),
          explosions->Count(),
          boss ? boss->GetBodyHitPoints() : -1};
}
