#include "scenes/ending.h"

#include "app/app_block.h"
#include "app/scene.h"
#include "audio/game_sounds.h"
#include "audio/music.h"
#include "game/potion_chara.h"
#include "generated/resource_ids.h"
#include "gfx/display.h"
#include "gfx/sprite256.h"
#include "input/input.h"
#include "script/script.h"

namespace {
constexpr const char* kTune = "Music01.mid";

constexpr int kCenterX = 320;
constexpr int kBackgroundY = 240;
constexpr int kHeadingY = 60;
constexpr int kCreditsY = 435;
constexpr int kCharacterY = 240;
}  // namespace

NEnding::NEnding()
    : script(std::make_unique<NScript>(script::kEndingCharacter)),
      character(std::make_unique<NPotionChara>(bitmap::kEndingCharacter, script.get(), NPotionChara::kScenery)),
      background(std::make_unique<NSprite256>(bitmap::kEndingBackground, 1)),
      heading(std::make_unique<NSprite256>(bitmap::kEndingHeading, 1)),
      credits(std::make_unique<NSprite256>(bitmap::kCredits, 1)),
      backBuffer(GetBackSurface()) {}

NEnding::~NEnding() {
  // The ending tune stops before the title starts its own.
  CloseMusic();
}

void NEnding::Start() {
  background->SetTransparent(false);
  background->SetCenter(kCenterX, kBackgroundY);
  heading->SetCenter(kCenterX, kHeadingY);
  credits->SetCenter(kCenterX, kCreditsY);
  character->SetCenter(kCenterX, kCharacterY);
  PlayMusic(kTune);
  frame.Open();
}

void NEnding::Update() {
  if (frame.IsInteractive()) {
    UpdateInput();
    if (IsConfirmPressed()) {
      PlaySound(sound::kChime);
      frame.Close();
    }
  } else if (frame.Advance() == SceneFrame::Turn::Closed) {
    GetAppBlock().sceneState = scene_state::kTitleStart;
  }
  frame.Tick();
  character->Move();
  if (frame.IsFinished()) {
    DrawCurtain(backBuffer, 100);
    return;
  }
  Draw();
  frame.DrawCurtain(backBuffer);
}

// Only the band of the background is redrawn: the lines above and below
// keep the black of the opening, with the heading and the credits on it.
void NEnding::Draw() {
  background->Draw(backBuffer);
  heading->Draw(backBuffer);
  credits->Draw(backBuffer);
  character->Draw(backBuffer);
}
