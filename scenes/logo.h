#pragma once

#include <memory>

#include "app/scene.h"

class NSprite256;
class Surface;

// The maker's logo on white with its jingle, about nine seconds, not
// skippable; then the title.
class NZarvoLogo : public Scene {
 public:
  static constexpr int kJingleFrame = 5;
  static constexpr int kLastFrame = 225;

  NZarvoLogo();
  ~NZarvoLogo() override;

  void Start() override;
  void Update() override;

 private:
  std::unique_ptr<NSprite256> logo;
  int frameCounter = 0;
  Surface* backBuffer = nullptr;
};
