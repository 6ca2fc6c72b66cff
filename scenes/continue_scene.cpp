#include "scenes/continue_scene.h"

#include "app/app_block.h"
#include "app/scene.h"
#include "audio/game_sounds.h"
#include "generated/resource_ids.h"
#include "gfx/ascii.h"
#include "gfx/display.h"
#include "gfx/sprite256.h"
#include "input/input.h"

namespace {
constexpr int kCursorFrames = 2;
constexpr int kCursorDelay = 8;

constexpr int kPictureX = 320, kPictureY = 254;
constexpr int kHeadingX = 320, kHeadingY = 53;
constexpr int kYesX = 240, kNoX = 400, kOptionY = 425;
// The cursors stand this far left of an option and right of its end.
constexpr int kLeftCursorGap = 14;
constexpr int kRightCursorGap = 13;

constexpr int kPriceX = 148, kPriceY = 450;
constexpr const char* kPriceText = "It costs 50 potions to continue.";

constexpr int kDirectionRight = 0;
constexpr int kDirectionLeft = 16;

std::unique_ptr<NSprite256> Picture(int id, int frames = 1) { return std::make_unique<NSprite256>(id, frames); }
}  // namespace

NContinue::NContinue()
    : tile(Picture(bitmap::kTitleTile)),
      picture(Picture(bitmap::kContinuePicture)),
      heading(Picture(bitmap::kContinueHeading)),
      yesOption(Picture(bitmap::kOptionYes)),
      noOption(Picture(bitmap::kOptionNo)),
      leftCursor(Picture(bitmap::kCursorLeft, kCursorFrames)),
      rightCursor(Picture(bitmap::kCursorRight, kCursorFrames)),
      font(std::make_unique<NAscii>()),
      backBuffer(GetBackSurface()) {
  font->SetTarget(backBuffer);
  font->SetFont(1);
}

NContinue::~NContinue() = default;

void NContinue::Start() {
  tile->SetTransparent(false);
  picture->SetTransparent(false);
  picture->SetCenter(kPictureX, kPictureY);
  heading->SetCenter(kHeadingX, kHeadingY);
  yesOption->SetCenter(kYesX, kOptionY);
  noOption->SetCenter(kNoX, kOptionY);
  leftCursor->SetAnimation(kCursorDelay);
  rightCursor->SetAnimation(kCursorDelay);
  frame.Open();
}

void NContinue::HandleInput() {
  UpdateInput();
  leftCursor->Animate();
  rightCursor->Animate();
  // Only the first of these counts: a confirm pressed together with an
  // arrow is dropped, so a slip of the finger never decides.
  if (IsKeyPressed(key::kLeft) || IsJoyDirectionEntered(kDirectionLeft)) {
    if (selection != kYes) {
      PlaySound(sound::kMenuMove);
      selection = kYes;
    }
  } else if (IsKeyPressed(key::kRight) || IsJoyDirectionEntered(kDirectionRight)) {
    if (selection != kNo) {
      PlaySound(sound::kMenuMove);
      selection = kNo;
    }
  } else if (IsConfirmPressed()) {
    leftCursor->SetFrame(0);
    rightCursor->SetFrame(0);
    PlaySound(sound::kChime);
    frame.Close();
  }
}

void NContinue::Update() {
  if (frame.IsInteractive()) {
    HandleInput();
  } else {
    SceneFrame::Turn turn = frame.Advance();
    if (turn == SceneFrame::Turn::Opened) PlaySound(sound::kContinue);
    // YES: the game left its stage, level and the reduced potions behind.
    if (turn == SceneFrame::Turn::Closed) {
      GetAppBlock().sceneState = selection == kNo ? scene_state::kTitleStart : scene_state::kGameStart;
    }
  }
  ++frameCounter;
  frame.Tick();
  if (frame.IsFinished()) {
    DrawCurtain(backBuffer, 100);
    return;
  }
  Draw();
  frame.DrawCurtain(backBuffer);
}

void NContinue::Draw() {
  DrawTiledBackground(*tile, backBuffer, frameCounter);
  picture->Draw(backBuffer);
  heading->Draw(backBuffer);
  yesOption->Draw(backBuffer);
  noOption->Draw(backBuffer);
  const NSprite256& option = selection == kNo ? *noOption : *yesOption;
  leftCursor->SetCenter(option.GetX() - kLeftCursorGap, option.GetCenterY());
  rightCursor->SetCenter(option.GetX() + option.GetWidth() + kRightCursorGap, option.GetCenterY());
  leftCursor->Draw(backBuffer);
  rightCursor->Draw(backBuffer);
  font->DrawText(kPriceX, kPriceY, kPriceText);
}
