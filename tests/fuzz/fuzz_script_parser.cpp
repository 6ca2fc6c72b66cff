// Movement scripts of any bytes parse without fault, and running them with
// both interpreters stays inside every table (a frame carrying fewer
// commands than the game's bound, which a script that never waits spends).
#include <cstddef>
#include <cstdint>

#include "base/math_util.h"
#include "base/string_list.h"
#include "gfx/sprite256.h"
#include "script/script.h"
#include "script/script_runner.h"
#include "script/script_world.h"

namespace {
struct NoBullets : BulletSink {
  void Shoot(int, int, int) override {}
};
struct Player : PlayerView {
  int GetCenterX() const override { return 320; }
  int GetCenterY() const override { return 428; }
};
struct Silence : SoundSink {
  void Play(int) override {}
};
constexpr int kCommandBound = 200;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FillDirectionTables();
  NStringList lines;
  lines.LoadFromBytes({data, size});
  NScript script;
  script.Parse(lines);
  Surface strip(8, 16);
  NSprite256 enemy(strip, 2);
  NSprite256 potion(strip, 1);
  NoBullets bullets;
  Player player;
  Silence silence;
  const ScriptContext full{&bullets, &player, &silence, kCommandBound};
  const ScriptContext reduced{nullptr, nullptr, &silence, kCommandBound};
  ScriptState enemyState;
  ScriptState potionState;
  for (int frame = 0; frame < 16; ++frame) {
    RunScriptFrame(enemy, &script, enemyState, CommandSet::Full, full);
    RunScriptFrame(potion, &script, potionState, CommandSet::Reduced, reduced);
  }
  return 0;
}
