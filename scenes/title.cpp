#include "scenes/title.h"

#include "app/app_block.h"
#include "app/scene.h"
#include "audio/game_sounds.h"
#include "audio/music.h"
#include "game/potion_chara.h"
#include "generated/resource_ids.h"
#include "gfx/ascii.h"
#include "gfx/display.h"
#include "gfx/sprite256.h"
#include "input/input.h"
#include "script/script.h"

namespace {
constexpr int kCursorFrames = 2;
constexpr int kCursorDelay = 8;
constexpr const char* kTune = "Music03.mid";

constexpr int kLogoX = 320, kLogoY = 136;
constexpr int kLeftOrnamentX = 120, kRightOrnamentX = 520, kOrnamentY = 116;

// The witch starts just off the left edge and flies in at this height.
constexpr int kCharacterGap = 10;
constexpr int kCharacterTop = 220;

constexpr int kMenuLeft = 425;
constexpr int kMenuTop = 260;
constexpr int kMenuRowGap = 8;
// The cursors flank the selected label; the right one follows the labels'
// width, so it stays just past their end.
constexpr int kLeftCursorX = 411;
constexpr int kRightCursorGap = 437;

constexpr int kMakerX = 8;
constexpr int kMakerY = 460;
constexpr const char* kMakerText = "KORVA GAMES 1999-2026";

constexpr int kDirectionUp = 8;
constexpr int kDirectionDown = 24;

// What each menu item starts: stage, level and potions of a new game, or
// the next scene.
struct MenuEffect {
  int stage, level, potions, sceneState;
};
constexpr MenuEffect kEffects[NTitle::kMenuItems] = {
    {1, 1, 0, scene_state::kGameStart},    {2, 1, 50, scene_state::kGameStart}, {3, 1, 100, scene_state::kGameStart},
    {0, 0, 0, scene_state::kRankingStart}, {0, 0, 0, scene_state::kQuit},
};

static_assert(kEpisodes <= NTitle::kMenuItems);

std::unique_ptr<NSprite256> Picture(int id, int frames = 1) { return std::make_unique<NSprite256>(id, frames); }
}  // namespace

std::optional<EpisodeGame> GameOfEpisode(int episode) {
  if (episode < 1 || episode > kEpisodes) return std::nullopt;
  const MenuEffect& effect = kEffects[episode - 1];
  return EpisodeGame{effect.stage, effect.level, effect.potions};
}

int EpisodeOfGame(int stage, int level, int potions) {
  for (int episode = 1; episode <= kEpisodes; ++episode) {
    const MenuEffect& effect = kEffects[episode - 1];
    if (effect.stage == stage && effect.level == level && effect.potions == potions) return episode;
  }
  return 0;
}

NTitle::NTitle()
    : script(std::make_unique<NScript>(script::kTitleCharacter)),
      character(std::make_unique<NPotionChara>(bitmap::kTitleCharacter, script.get(), NPotionChara::kScenery)),
      tile(Picture(bitmap::kTitleTile)),
      logo(Picture(bitmap::kTitleLogo)),
      leftOrnament(Picture(bitmap::kOrnamentLeft)),
      rightOrnament(Picture(bitmap::kOrnamentRight)),
      leftCursor(Picture(bitmap::kCursorLeft, kCursorFrames)),
      rightCursor(Picture(bitmap::kCursorRight, kCursorFrames)),
      menu(Picture(bitmap::kMenuLabels, kMenuItems)),
      font(std::make_unique<NAscii>()),
      backBuffer(GetBackSurface()) {
  font->SetTarget(backBuffer);
  font->SetFont(0);
}

NTitle::~NTitle() {
  // The tune goes first, so the next scene starts in silence.
  CloseMusic();
}

void NTitle::Start() {
  tile->SetTransparent(false);
  logo->SetCenter(kLogoX, kLogoY);
  leftOrnament->SetCenter(kLeftOrnamentX, kOrnamentY);
  rightOrnament->SetCenter(kRightOrnamentX, kOrnamentY);
  character->SetPosition(-kCharacterGap - character->GetWidth(), kCharacterTop);
  leftCursor->SetAnimation(kCursorDelay);
  rightCursor->SetAnimation(kCursorDelay);
  PlayMusic(kTune);
  frame.Open();
}

void NTitle::HandleInput() {
  UpdateInput();
  leftCursor->Animate();
  rightCursor->Animate();
  if (IsKeyPressed(key::kUp) || IsJoyDirectionEntered(kDirectionUp)) {
    PlaySound(sound::kMenuMove);
    selection = selection == 0 ? kMenuItems - 1 : selection - 1;
  } else if (IsKeyPressed(key::kDown) || IsJoyDirectionEntered(kDirectionDown)) {
    PlaySound(sound::kMenuMove);
    selection = selection == kMenuItems - 1 ? 0 : selection + 1;
  }
  // A move and a confirm in the same frame choose the item moved to.
  if (IsConfirmPressed()) {
    leftCursor->SetFrame(0);
    rightCursor->SetFrame(0);
    PlaySound(sound::kChime);
    frame.Close();
  }
}

void NTitle::Choose() {
  const MenuEffect& effect = kEffects[selection];
  AppBlock& app = GetAppBlock();
  if (effect.sceneState == scene_state::kGameStart) {
    app.startStage = effect.stage;
    app.startLevel = effect.level;
    app.potionsCarried = effect.potions;
  }
  app.sceneState = effect.sceneState;
}

void NTitle::Update() {
  if (frame.IsInteractive()) {
    HandleInput();
  } else if (frame.Advance() == SceneFrame::Turn::Closed) {
    Choose();
  }
  ++frameCounter;
  frame.Tick();
  character->Move();  // she keeps flying behind the curtains too
  if (frame.IsFinished()) {
    DrawCurtain(backBuffer, 100);
    return;
  }
  Draw();
  frame.DrawCurtain(backBuffer);
}

void NTitle::Draw() {
  DrawTiledBackground(*tile, backBuffer, frameCounter);
  leftOrnament->Draw(backBuffer);
  rightOrnament->Draw(backBuffer);
  logo->Draw(backBuffer);
  character->Draw(backBuffer);  // in front of the logo as she passes it

  int rowHeight = menu->GetHeight() + kMenuRowGap;
  for (int i = 0; i < kMenuItems; ++i) {
    menu->SetFrame(i);
    menu->SetPosition(kMenuLeft, kMenuTop + rowHeight * i);
    menu->Draw(backBuffer);
  }
  int cursorY = kMenuTop + rowHeight * selection + menu->GetHeight() / 2;
  leftCursor->SetCenter(kLeftCursorX, cursorY);
  rightCursor->SetCenter(kRightCursorGap + menu->GetWidth(), cursorY);
  leftCursor->Draw(backBuffer);
  rightCursor->Draw(backBuffer);

  font->DrawText(kMakerX, kMakerY, kMakerText);
}
