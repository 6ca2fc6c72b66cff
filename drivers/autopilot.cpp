#include "drivers/autopilot.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "app/app_block.h"
#include "base/math_util.h"
#include "game/boss_base.h"
#include "game/bullet_list.h"
#include "game/enemy_list.h"
#include "game/game.h"
#include "game/potion_list.h"
#include "input/input.h"
#include "input/key_names.h"

namespace {

constexpr int kLookAhead = 14;  // frames of bullet flight looked at
constexpr int kMargin = 3;      // pixels of room kept around the witch
constexpr int kPlayerStep = 8;
constexpr int kConfirmEvery = 12;  // frames between confirms in menus
constexpr int kCatchLine = 200;    // potions below this are worth flying to
constexpr std::string_view kName = "AUTO";

struct Box {
  float left, top, right, bottom;
};

bool Overlap(const Box& a, const Box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

Box After(const NSprite256& s, int frames) {
  int d = s.GetDirection();
  float dx = 0;
  float dy = 0;
  if (d >= 0) {
    dx = cosTable[static_cast<size_t>(d & 31)] * s.GetSpeed() * static_cast<float>(frames);
    dy = -sinTable[static_cast<size_t>(d & 31)] * s.GetSpeed() * static_cast<float>(frames);
  }
  float x = static_cast<float>(s.GetX()) + dx;
  float y = static_cast<float>(s.GetY()) + dy;
  // Bullets are drawn inside their frames; a little slack keeps the bot calm.
  return {x + 2, y + 2, x + static_cast<float>(s.GetWidth()) - 2, y + static_cast<float>(s.GetHeight()) - 2};
}

}  // namespace

void Autopilot::Hold(int key, bool down, std::vector<HostEvent>& out) {
  bool isHeld = held_.count(key) != 0;
  if (down == isHeld) return;
  if (down) {
    held_.insert(key);
  } else {
    held_.erase(key);
  }
  out.push_back({down ? HostEventType::KeyDown : HostEventType::KeyUp, key});
}

std::vector<HostEvent> Autopilot::Step(int64_t frame) {
  std::vector<HostEvent> out;
  const NGame* game = CurrentGame();
  bool inGame = game && GetAppBlock().sceneState == scene_state::kGameRunning;
  if (inGame && game->GetState() == game_state::kNameEntry) {
    TypeName(frame, out);
    return out;
  }
  typed_ = 0;
  if (inGame) {
    Play(*game, frame, out);
    return out;
  }
  // Menus, continue and ending: let go of everything, then confirm now and then.
  for (int key : std::vector<int>(held_.begin(), held_.end())) {
    if (key != key::kEnter) Hold(key, false, out);
  }
  Hold(key::kEnter, frame % kConfirmEvery == 0, out);
  return out;
}

void Autopilot::TypeName(int64_t frame, std::vector<HostEvent>& out) {
  for (int key : std::vector<int>(held_.begin(), held_.end())) Hold(key, false, out);
  // The name, then Enter.
  if (frame % 2 != 0 || typed_ > static_cast<int>(kName.size())) return;
  int key = typed_ < static_cast<int>(kName.size()) ? LetterKey(kName[static_cast<size_t>(typed_)]) : key::kEnter;
  ++typed_;
  out.push_back({HostEventType::KeyDown, key});
  out.push_back({HostEventType::KeyUp, key});
}

int Autopilot::TargetX(const NGame& game) const {
  const NMyChara& player = game.Player();
  // A potion low enough to reach first: the lowest one.
  int best = -1;
  int bestY = kCatchLine;
  for (int i = 0; i < NPotionList::kSlots; ++i) {
    const NPotionChara* p = game.Potions().Get(i);
    if (p && p->GetY() > bestY && p->GetY() < player.GetY()) {
      bestY = p->GetY();
      best = p->GetCenterX();
    }
  }
  if (best >= 0) return best;
  if (const NBossBase* boss = game.Boss()) {
    if (const NSprite256* body = boss->GetBody()) return body->GetCenterX();
  }
  // Otherwise the enemy nearest the bottom, preferring those close in x.
  int target = player.GetCenterX();
  int bestScore = -100000;
  for (int i = 0; i < NEnemyList::kSlots; ++i) {
    const NEnemyChara* e = game.Enemies().Get(i);
    if (!e || e->GetY() < -e->GetHeight() || e->GetY() > player.GetY()) continue;
    int score = e->GetY() + e->GetHeight() - std::abs(e->GetCenterX() - player.GetCenterX()) / 4;
    if (score > bestScore) {
      bestScore = score;
      target = e->GetCenterX();
    }
  }
  return target;
}

int Autopilot::ChooseMove(const NGame& game) const {
  const NMyChara& player = game.Player();
  int target = TargetX(game);
  std::vector<const NSprite256*> bossParts;
  if (const NBossBase* boss = game.Boss()) bossParts = boss->GetHarmfulParts();
  int bestMove = 0;
  float bestScore = 1e30f;
  for (int move : {0, -1, 1}) {
    float danger = 0;
    for (int k = 1; k <= kLookAhead; ++k) {
      float px = std::clamp(static_cast<float>(player.GetX() + move * kPlayerStep * k), 0.0f, 594.0f);
      Box me{px - kMargin, static_cast<float>(player.GetY()) - kMargin, px + 46 + kMargin,
             static_cast<float>(player.GetY()) + 46 + kMargin};
      float weight = static_cast<float>(kLookAhead + 1 - k);
      for (int i = 0; i < NBulletList::kSlots; ++i) {
        const NBulletChara* b = game.Bullets().Get(i);
        if (b && Overlap(me, After(*b, k))) danger += weight * weight;
      }
      for (int i = 0; i < NEnemyList::kSlots; ++i) {
        const NEnemyChara* e = game.Enemies().Get(i);
        if (e && e->GetMode() != 0 && Overlap(me, After(*e, 0))) danger += weight * weight;
      }
      // Boss parts move by script: their place now stands for the next frames.
      for (const NSprite256* part : bossParts) {
        if (Overlap(me, After(*part, 0))) danger += weight * weight;
      }
    }
    float px = static_cast<float>(player.GetCenterX() + move * kPlayerStep);
    float score = danger * 1000.0f + std::abs(px - static_cast<float>(target));
    if (score < bestScore) {
      bestScore = score;
      bestMove = move;
    }
  }
  return bestMove;
}

void Autopilot::Play(const NGame& game, int64_t frame, std::vector<HostEvent>& out) {
  Hold(key::kEnter, false, out);
  int move = ChooseMove(game);
  Hold(key::kLeft, move < 0, out);
  Hold(key::kRight, move > 0, out);
  // Fire by presses: down one frame, up the next.
  Hold(key::kSpace, frame % 2 == 0, out);
}
