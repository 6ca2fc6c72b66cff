#include <benchmark/benchmark.h>

#include "app/app_block.h"
#include "base/math_util.h"
#include "game/bullet_list.h"
#include "game/enemy_list.h"
#include "game/enemy_sub_chara.h"
#include "game/explode_list.h"
#include "game/fire_list.h"
#include "game/game.h"
#include "game/potion_list.h"
#include "game/table_boss.h"
#include "generated/resource_ids.h"
#include "gfx/display.h"
#include "input/input.h"

namespace {
constexpr int kStage = 1;
constexpr int kLevelsPerStage = 16;
// Enough potions for the top power level, which has no further power-up
// (a power-up would stop the world for its event).
constexpr int kPotions = 300;
constexpr int kTopPower = 5;
constexpr int kSetUpFrameLimit = 500;
constexpr int kBossLevel = 16;
// Boss 1's two laser beams; frame 0 of a beam is empty, the others show it.
constexpr int kLaserParts[] = {5, 6};
constexpr int kLaserWaitLimit = 5000;
// Single-bullet patterns of every kind, some on the upper layer (100 + p).
constexpr int kBulletPatterns[] = {1, 3, 11, 13, 15, 16, 17, 113, 101, 103};

class Fixture {
 public:
  Fixture() {
    ResetAppBlock();
    CreateDisplay(nullptr);
    SetDisplayMode();
    InitPalette(bitmap::kPalette);
    InitInput();
    FillDirectionTables();
    SeedRandom(1);
  }
  ~Fixture() {
    ReleaseInput();
    ReleaseSurfaces();
    ReleaseDisplay();
  }
};

// The ordinary level of the stage with the largest formation.
int FullestLevel(NGame& game) {
  int best = 1;
  int most = -1;
  for (int level = 1; level <= kLevelsPerStage; ++level) {
    game.SetUpLevel(level);
    if (!game.Boss() && game.Enemies().Count() > most) {
      most = game.Enemies().Count();
      best = level;
    }
  }
  return best;
}

// Sets the level up and runs its curtain and "get ready" until play begins.
bool StartLevel(NGame& game, int level) {
  game.SetUpLevel(level);
  for (int i = 0; i < kSetUpFrameLimit && game.GetState() != game_state::kPlaying; ++i) game.Update();
  return game.GetState() == game_state::kPlaying;
}

// Fills every list to its last slot: 12 shots, 60 bullets, 40 explosions
// and 25 potions, spread over the playfield.
void Pack(NGame& game) {
  const NMyChara& player = game.Player();
  game.Shots().Clear();
  game.Shots().Fire(player.GetCenterX(), player.GetCenterY(), kTopPower);
  game.Shots().Fire(player.GetCenterX() - 60, player.GetCenterY() - 40, kTopPower);
  NBulletList& bullets = game.Bullets();
  for (int i = 0; bullets.CountFreeSlots() > 0; ++i) {
    int pattern = kBulletPatterns[i % static_cast<int>(std::size(kBulletPatterns))];
    bullets.Shoot(20 + (i * 97) % 600, 60 + (i * 53) % 300, pattern);
  }
  NExplodeList& explosions = game.Explosions();
  for (int i = 0; explosions.Count() < NExplodeList::kSlots; ++i) {
    explosions.Spawn(30 + (i * 71) % 580, 40 + (i * 37) % 380, i % 2 ? NExplodeList::kSmall : NExplodeList::kLarge,
                     false);
  }
  NPotionList& potions = game.Potions();
  for (int i = 0; potions.Count() < NPotionList::kSlots; ++i) {
    potions.AddPotion(25 + (i * 89) % 590, 100 + (i * 29) % 280, i % NPotionList::kScripts);
  }
}

// The busiest frame of an ordinary level: the fullest formation of stage 1
// with every shot, bullet, explosion and potion slot taken. One iteration is
// the game's Update, which moves, collides and draws everything.
void BM_BusiestLevelFrame(benchmark::State& state) {
  Fixture fixture;
  NGame game;
  game.SetStage(kStage);
  game.SetPotions(kPotions);
  game.SetInvulnerable(true);
  int level = FullestLevel(game);
  if (!StartLevel(game, level)) {
    state.SkipWithError("the level never began");
    return;
  }
  int fullFormation = game.Enemies().Count();
  Pack(game);
  // What the first timed frame meets.
  state.counters["bullets"] = NBulletList::kSlots - game.Bullets().CountFreeSlots();
  state.counters["shots"] = NFireList::kSlots - game.Shots().CountFreeSlots();
  state.counters["explosions"] = game.Explosions().Count();
  state.counters["potions"] = game.Potions().Count();
  for (auto _ : state) {
    state.PauseTiming();
    // Shots that reached divers thin the formation out: start it afresh.
    if (game.GetState() != game_state::kPlaying || game.Enemies().Count() < fullFormation - 5) {
      StartLevel(game, level);
    }
    Pack(game);
    state.ResumeTiming();
    game.Update();
    benchmark::ClobberMemory();
  }
  state.counters["enemies"] = fullFormation;
  state.counters["level"] = level;
}
BENCHMARK(BM_BusiestLevelFrame)->Unit(benchmark::kMicrosecond);

bool BothLasersOn(const NGame& game) {
  const auto* boss = dynamic_cast<const TableBoss*>(game.Boss());
  if (!boss) return false;
  for (int part : kLaserParts) {
    const NEnemySubChara* beam = boss->GetPart(part);
    if (!beam || beam->GetFrame() == 0) return false;
  }
  return true;
}

// Runs the boss fight on until both beams show; false if they never do.
bool WaitForLasers(NGame& game) {
  for (int i = 0; i < kLaserWaitLimit; ++i) {
    if (game.GetState() != game_state::kPlaying || !game.Boss() || game.Boss()->IsDefeated()) {
      if (!StartLevel(game, kBossLevel)) return false;
    }
    if (BothLasersOn(game)) return true;
    game.Update();
  }
  return false;
}

// The busiest frame of all: boss 1 with both lasers firing, every part in
// play, and every shot, bullet, explosion and potion slot taken.
void BM_BusiestBossFrame(benchmark::State& state) {
  Fixture fixture;
  NGame game;
  game.SetStage(kStage);
  game.SetPotions(kPotions);
  game.SetInvulnerable(true);
  if (!StartLevel(game, kBossLevel) || !WaitForLasers(game)) {
    state.SkipWithError("boss 1 never fired both lasers");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    if (!BothLasersOn(game) && !WaitForLasers(game)) {
      state.SkipWithError("boss 1 stopped firing both lasers");
      break;
    }
    Pack(game);
    state.ResumeTiming();
    game.Update();
    benchmark::ClobberMemory();
  }
  state.counters["bossParts"] = dynamic_cast<const TableBoss*>(game.Boss())->GetPartCount();
}
BENCHMARK(BM_BusiestBossFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
