#pragma once

#include <memory>

// Scene states: the numbers scenes write to AppBlock::sceneState to end
// themselves, which the sequencer acts on in the next frame. The field stays
// a plain integer (a state outside this list does nothing), and the logs
// print these numbers.
namespace scene_state {
constexpr int kLogoStart = 1;
constexpr int kLogoRunning = 2;
constexpr int kGameStart = 3;
constexpr int kGameRunning = 4;
constexpr int kTitleStart = 5;
constexpr int kTitleRunning = 6;
constexpr int kRankingStart = 7;
constexpr int kRankingRunning = 8;
constexpr int kContinueStart = 9;
constexpr int kContinueRunning = 10;
constexpr int kEndingStart = 11;
constexpr int kEndingRunning = 12;
constexpr int kQuit = 14;
}  // namespace scene_state

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
