// Movement scripts of any bytes parse without fault, and running them with
// both interpreters stays inside every table. A few frames cross a frame's
// end often enough: a script that never waits runs the interpreter's whole
// bound each frame.
#include <cstddef>
#include <cstdint>

#include "base/math_util.h"
#include "base/string_list.h"
#include "game/enemy_chara.h"
#include "game/potion_chara.h"
#include "gfx/surface.h"
#include "script/script.h"
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
struct Dice : ChanceSource {
  int Random(int n) override { return n > 1 ? 1 : 0; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FillDirectionTables();
  NStringList lines;
  lines.LoadFromBytes({data, size});
  NScript script;
  script.Parse(lines);
  Surface strip(8, 16);
  NEnemyChara enemy(strip, &script, 2, 1);
  NPotionChara potion(strip, &script, 2);
  NoBullets bullets;
  Player player;
  Silence silence;
  Dice dice;
  for (int frame = 0; frame < 3; ++frame) {
    enemy.RunScript(bullets, player, silence, dice);
    potion.Step(silence);
  }
  return 0;
}
