#include "app/game_scenes.h"

// Scenes join here as they are built; a kind without one leaves the screen
// black and the sequencer waiting in that state.
std::unique_ptr<Scene> GameSceneFactory::Make(SceneKind) { return nullptr; }

std::unique_ptr<Scene> GameSceneFactory::MakeGame(int, int, int) { return nullptr; }
