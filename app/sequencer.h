#pragma once

#include <array>
#include <memory>

#include "app/scene.h"

// The second half of every frame: reads AppBlock::sceneState and either
// builds the scene a start state asks for or runs one frame of the current
// scene. Scenes never call each other; they write the next state and the
// sequencer acts on it in the next frame.
class Sequencer {
 public:
  explicit Sequencer(SceneFactory& factory) : factory_(factory) {}

  // One scene step. Returns false in the quit state (nothing is presented).
  bool Step();
  // Deletes the scenes in shutdown order: logo, title, ranking, continue,
  // ending, game.
  void DeleteAll();

 private:
  std::unique_ptr<Scene>& Slot(SceneKind kind) { return scenes_[static_cast<size_t>(kind)]; }
  const std::unique_ptr<Scene>& Slot(SceneKind kind) const { return scenes_[static_cast<size_t>(kind)]; }
  void Delete(SceneKind kind) { Slot(kind).reset(); }
  void Open(SceneKind kind, int runningState);
  void RunFrame(SceneKind kind);

  SceneFactory& factory_;
  std::array<std::unique_ptr<Scene>, 6> scenes_;
};

// Blacks the back surface and presents it while a new scene loads.
void ClearAndPresent();
