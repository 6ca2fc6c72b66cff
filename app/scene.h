#pragma once

#include <memory>

// Every scene has the same shape: a constructor that loads what it draws,
// Start() that opens it, Update() once per frame (which reads input, draws
// into the back surface and may write the next sequencer state), and a
// destructor that releases everything it owns.
class Scene {
 public:
  virtual ~Scene() = default;
  virtual void Start() = 0;
  virtual void Update() = 0;
};

enum class SceneKind { Logo, Title, Ranking, Continue, Ending, Game };

// Builds the scenes for the sequencer. The game is built and set up from the
// hand-over fields (stage, level, potions) instead of being started.
class SceneFactory {
 public:
  virtual ~SceneFactory() = default;
  virtual std::unique_ptr<Scene> Make(SceneKind kind) = 0;
  virtual std::unique_ptr<Scene> MakeGame(int stage, int level, int potions) = 0;
};
