#include "scenes/ranking_scene.h"

#include "app/app_block.h"
#include "app/scene.h"
#include "audio/game_sounds.h"
#include "generated/resource_ids.h"
#include "gfx/ascii.h"
#include "gfx/display.h"
#include "gfx/number.h"
#include "gfx/sprite256.h"
#include "input/input.h"

namespace {

constexpr int kBannerX = 320;
constexpr int kBannerY = 82;
constexpr int kFirstRowY = 157;
constexpr int kRowHeight = 36;
constexpr int kPlaceX = 171;
constexpr int kPlaceDown = 4;
constexpr int kRowMarkX = 196;
constexpr int kNameX = 213;
constexpr int kNameDown = 7;
constexpr int kScoreX = 394;
constexpr int kScoreDown = 5;
constexpr int kScoreDigits = 4;
}  // namespace

NRanking::NRanking()
    : tile(std::make_unique<NSprite256>(bitmap::kTitleTile, 1)),
      banner(std::make_unique<NSprite256>(bitmap::kRankingBanner, 1)),
      rowMark(std::make_unique<NSprite256>(bitmap::kRankingRow, 1)),
      font(std::make_unique<NAscii>()),
      digits(std::make_unique<NNumber>()),
      backBuffer(GetBackSurface()) {
  font->SetTarget(backBuffer);
  font->SetFont(1);
  digits->SetTarget(backBuffer);
  digits->SetFont(0);
}

NRanking::~NRanking() = default;

void NRanking::Start() {
  tile->SetTransparent(false);
  banner->SetCenter(kBannerX, kBannerY);
  frame.Open();
}

void NRanking::Update() {
  if (frame.IsInteractive()) {
    UpdateInput();
    if (IsConfirmPressed()) {
      PlaySound(sound::kChime);
      frame.Close();
    }
  } else if (frame.Advance() == SceneFrame::Turn::Closed) {
    GetAppBlock().sceneState = scene_state::kTitleStart;
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

void NRanking::Draw() {
  DrawTiledBackground(*tile, backBuffer, frameCounter);
  banner->Draw(backBuffer);
  for (int i = 0; i < kRankEntries; ++i) {
    const RankEntry& entry = GetRankEntry(i);
    int y = kFirstRowY + kRowHeight * i;
    digits->DrawNumber(kPlaceX, y + kPlaceDown, i + 1, 1);
    // The checkered strip shades the row behind the name.
    rowMark->SetPosition(kRowMarkX, y);
    rowMark->Draw(backBuffer);
    font->DrawText(kNameX, y + kNameDown, entry.name);
    digits->DrawNumber(kScoreX, y + kScoreDown, entry.score, kScoreDigits);
  }
}
