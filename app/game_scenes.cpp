#include "app/game_scenes.h"

#include "game/game.h"
#include "scenes/continue_scene.h"
#include "scenes/ending.h"
#include "scenes/logo.h"
#include "scenes/ranking_scene.h"
#include "scenes/title.h"

std::unique_ptr<Scene> GameSceneFactory::Make(SceneKind kind) {
  switch (kind) {
    case SceneKind::Logo:
      return std::make_unique<NZarvoLogo>();
    case SceneKind::Title:
      return std::make_unique<NTitle>();
    case SceneKind::Ranking:
      return std::make_unique<NRanking>();
    case SceneKind::Continue:
      return std::make_unique<NContinue>();
    case SceneKind::Ending:
      return std::make_unique<NEnding>();
    case SceneKind::Game:
      break;  // built by MakeGame from the hand-over fields
  }
  return nullptr;
}

std::unique_ptr<Scene> GameSceneFactory::MakeGame(int stage, int level, int potions) {
  auto game = std::make_unique<NGame>();
  game->SetStage(stage);
  game->SetUpLevel(level);
  game->SetPotions(potions);
  game->SetInvulnerable(invulnerable_);
  return game;
}
