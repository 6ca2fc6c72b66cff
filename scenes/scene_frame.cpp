#include "scenes/scene_frame.h"

#include "gfx/display.h"
#include "gfx/sprite256.h"
#include "input/input.h"

namespace {
constexpr int kTileRows = 7;
constexpr int kTileColumns = 9;
constexpr int kTileSize = 80;
}  // namespace

SceneFrame::Turn SceneFrame::Advance() {
  if (counter >= 1) return Turn::None;
  if (state == kOpening) {
    state = kInteractive;
    return Turn::Opened;
  }
  if (state == kClosing) {
    state = kFinished;
    return Turn::Closed;
  }
  return Turn::None;
}

void SceneFrame::DrawCurtain(Surface* target) const {
  if (state == kOpening) DrawOpeningCurtain(target, counter);
  if (state == kClosing) DrawClosingCurtain(target, counter);
}

bool IsConfirmPressed() {
  return IsKeyPressed(key::kSpace) || IsKeyPressed(key::kEnter) || IsKeyPressed(key::kKeypadEnter) ||
         IsJoyButtonPressed(0);
}

void DrawTiledBackground(NSprite256& tile, Surface* target, int frameCounter) {
  int offset = frameCounter % kTileSize;
  for (int r = 0; r < kTileRows; ++r) {
    for (int c = 0; c < kTileColumns; ++c) {
      tile.SetPosition(kTileSize * c - offset, kTileSize * r - offset);
      tile.Draw(target);
    }
  }
}
