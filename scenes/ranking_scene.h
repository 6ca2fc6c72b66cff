#pragma once

#include <memory>

#include "app/scene.h"
#include "scenes/scene_frame.h"

class NAscii;
class NNumber;
class NSprite256;
class Surface;

// The eight best potion counts with their names over the drifting tiles,
// until the player confirms; then the title.
class NRanking : public Scene {
 public:
  NRanking();
  ~NRanking() override;

  void Start() override;
  void Update() override;

 private:
  void Draw();

  std::unique_ptr<NSprite256> tile;
  std::unique_ptr<NSprite256> banner;
  std::unique_ptr<NSprite256> rowMark;
  std::unique_ptr<NAscii> font;
  std::unique_ptr<NNumber> digits;
  SceneFrame frame;
  int frameCounter = 0;
  Surface* backBuffer = nullptr;
};
