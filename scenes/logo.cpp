#include "scenes/logo.h"

#include "app/app_block.h"
#include "app/scene.h"
#include "audio/game_sounds.h"
#include "generated/resource_ids.h"
#include "gfx/display.h"
#include "gfx/sprite256.h"

namespace {
constexpr int kCenterX = 320;
constexpr int kCenterY = 240;
constexpr uint32_t kWhite = 0xFFFFFF;
}  // namespace

NZarvoLogo::NZarvoLogo() : logo(std::make_unique<NSprite256>(bitmap::kMakerLogo, 1)), backBuffer(GetBackSurface()) {}

NZarvoLogo::~NZarvoLogo() = default;

void NZarvoLogo::Start() {
  logo->SetTransparent(false);
  logo->SetCenter(kCenterX, kCenterY);
  frameCounter = 0;
}

void NZarvoLogo::Update() {
  // The jingle lasts as long as the logo stays; no key cuts it short.
  if (frameCounter == kJingleFrame) PlaySound(sound::kLogoJingle);
  if (frameCounter >= kLastFrame) GetAppBlock().sceneState = scene_state::kTitleStart;
  ++frameCounter;
  FillSurface(backBuffer, nullptr, kWhite);
  logo->Draw(backBuffer);
}
