#pragma once

#include <memory>

#include "app/scene.h"
#include "scenes/scene_frame.h"

class NAscii;
class NSprite256;
class Surface;

// After a lost game with at least 50 potions (already paid): YES starts a
// new game where the last one ended, NO returns to the title.
class NContinue : public Scene {
 public:
  static constexpr int kYes = 0;
  static constexpr int kNo = 1;

  NContinue();
  ~NContinue() override;

  void Start() override;
  void Update() override;

 private:
  void HandleInput();
  void Draw();

  std::unique_ptr<NSprite256> tile;
  std::unique_ptr<NSprite256> picture;
  std::unique_ptr<NSprite256> heading;
  std::unique_ptr<NSprite256> yesOption;
  std::unique_ptr<NSprite256> noOption;
  std::unique_ptr<NSprite256> leftCursor;
  std::unique_ptr<NSprite256> rightCursor;
  std::unique_ptr<NAscii> font;
  int selection = kYes;
  SceneFrame frame;
  int frameCounter = 0;
  Surface* backBuffer = nullptr;
};
