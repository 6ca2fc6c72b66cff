#include "app/game_scenes.h"

#include "game/game.h"

// Scenes join here as they are built; a kind without one leaves the screen
// black and the sequencer waiting in that state.
std::unique_ptr<Scene> GameSceneFactory::Make(SceneKind) { return nullptr; }

std::unique_ptr<Scene> GameSceneFactory::MakeGame(int stage, int level, int potions) {
  auto game = std::make_unique<NGame>();
  game->SetStage(stage);
  game->SetUpLevel(level);
  game->SetPotions(potions);
  game->SetInvulnerable(invulnerable_);
  return game;
}
