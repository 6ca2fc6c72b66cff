#include "game/event_process.h"

#include "generated/resource_ids.h"
#include "gfx/display.h"

namespace {
// Bitmaps and their scripts, in loading order: power-up text, power-up
// picture, get ready, the words GAME and OVER.
constexpr int kBitmaps[5] = {bitmap::kNoticePowerUp, bitmap::kPowerUpPortrait, bitmap::kNoticeGetReady,
                             bitmap::kNoticeGame, bitmap::kNoticeOver};
constexpr int kScripts[5] = {script::kPowerUpText, script::kPowerUpPicture, script::kGetReady, script::kGameOverGame,
                             script::kGameOverOver};
enum { kPowerText, kPowerPicture, kReady, kGame, kOver };
}  // namespace

NEventProcess::NEventProcess() {
  for (size_t i = 0; i < 5; ++i) {
    bitmaps_[i] = std::make_unique<NDib256>(kBitmaps[i]);
    scripts_[i] = std::make_unique<NScript>(kScripts[i]);
  }
}

NEventProcess::~NEventProcess() = default;

std::unique_ptr<NPotionChara> NEventProcess::Make(int index) {
  return std::make_unique<NPotionChara>(*bitmaps_[static_cast<size_t>(index)],
                                        scripts_[static_cast<size_t>(index)].get(), NPotionChara::kScenery);
}

void NEventProcess::Start(int kind) {
  int w = GetScreenWidth();
  int h = GetScreenHeight();
  switch (kind) {
    case kGetReady:
      first = Make(kReady);
      first->SetCenter(0, h / 2);
      first->SetX(-first->GetWidth());
      break;
    case kGameOver:
      first = Make(kGame);
      first->SetPosition(-first->GetWidth(), -first->GetHeight());
      second = Make(kOver);
      second->SetPosition(w, h);
      break;
    case kPowerUp:
      first = Make(kPowerText);
      first->SetCenter(w / 2, 0);
      first->SetY(-first->GetHeight());
      second = Make(kPowerPicture);
      second->SetCenter(w / 2, 0);
      second->SetY(h);
      break;
    default:
      break;
  }
}

void NEventProcess::Update() {
  // Each sprite starts just outside an edge; its first step moves it in
  // before the first test, so it is not removed at once.
  for (auto* sprite : {&first, &second}) {
    if (!*sprite) continue;
    (*sprite)->Move();
    if ((*sprite)->IsOutOfScreen()) sprite->reset();
  }
}

void NEventProcess::ClearSprites() {
  first.reset();
  second.reset();
}

void NEventProcess::Draw(Surface* target) const {
  if (second) second->Draw(target);
  if (first) first->Draw(target);
}
