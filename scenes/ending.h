#pragma once

#include <memory>

#include "app/scene.h"
#include "scenes/scene_frame.h"

class NPotionChara;
class NScript;
class NSprite256;
class Surface;

// After the last level of the last stage: THE END, the credits and the
// witch hovering, with music, until the player confirms; then the title.
class NEnding : public Scene {
 public:
  NEnding();
  ~NEnding() override;

  void Start() override;
  void Update() override;

 private:
  void Draw();

  std::unique_ptr<NScript> script;
  std::unique_ptr<NPotionChara> character;
  std::unique_ptr<NSprite256> background;
  std::unique_ptr<NSprite256> heading;
  std::unique_ptr<NSprite256> credits;
  SceneFrame frame;
  Surface* backBuffer = nullptr;
};
