#pragma once

#include "app/scene.h"

// Builds the program's real scenes for the sequencer.
class GameSceneFactory : public SceneFactory {
 public:
  // Development aid: games whose player is never hit.
  void SetInvulnerable(bool flag) { invulnerable_ = flag; }
  std::unique_ptr<Scene> Make(SceneKind kind) override;
  std::unique_ptr<Scene> MakeGame(int stage, int level, int potions) override;

 private:
  bool invulnerable_ = false;
};
