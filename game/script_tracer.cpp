#include "game/script_tracer.h"

#include <cstdio>
#include <memory>

#include "base/math_util.h"
#include "game/enemy_chara.h"
#include "game/potion_chara.h"
#include "gfx/dib256.h"
#include "gfx/surface.h"
#include "script/script.h"
#include "script/script_world.h"

namespace {

// A player standing still, and a log of what one call fired and played.
class TraceWorld : public BulletSink, public PlayerView, public SoundSink, public ChanceSource {
 public:
  TraceWorld(int centerX, int centerY) : centerX_(centerX), centerY_(centerY) {}
  void Shoot(int x, int y, int pattern) override {
    events_ += " shoot=" + std::to_string(pattern) + "@" + std::to_string(x) + "," + std::to_string(y);
  }
  int GetCenterX() const override { return centerX_; }
  int GetCenterY() const override { return centerY_; }
  void Play(int sound) override { events_ += " sound=" + std::to_string(sound); }
  // A diver never fires by chance; a traced script never asks.
  int Random(int n) override { return n > 1 ? 1 : 0; }
  std::string Take() {
    std::string out;
    out.swap(events_);
    return out;
  }

 private:
  int centerX_;
  int centerY_;
  std::string events_;
};

std::string FrameLine(int t, const NSprite256& sprite, const std::string& events) {
  return "t=" + std::to_string(t) + " x=" + std::to_string(sprite.GetX()) + " y=" + std::to_string(sprite.GetY()) +
         " speed=" + FormatSpeed(sprite.GetSpeed()) + " dir=" + std::to_string(sprite.GetDirection()) +
         " img=" + std::to_string(sprite.GetFrame()) + events;
}

}  // namespace

std::string FormatSpeed(float speed) {
  char buffer[64];
  std::snprintf(buffer, sizeof(buffer), "%.3f", static_cast<double>(speed));
  std::string text(buffer);
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  if (text == "-0") text = "0";
  return text;
}

std::vector<std::string> ListScript(const NScript& script) {
  std::vector<std::string> lines;
  for (uint32_t i = 0; i < script.GetCount(); ++i) {
    const NScriptCommand& c = script.GetCommand(i);
    const char* word = ScriptKeyword(c.opcode);
    lines.push_back(std::to_string(i) + ": (" + std::to_string(c.opcode) + ", " + std::to_string(c.arg1) + ", " +
                    std::to_string(c.arg2) + ") " + (*word ? word : "?"));
  }
  return lines;
}

std::vector<std::string> TraceScript(const NScript& script, const TraceSetup& setup, int frames) {
  FillDirectionTables();
  TraceWorld world(setup.playerX + kTracePlayerSize / 2, setup.playerY + kTracePlayerSize / 2);
  int strips = setup.reduced ? 1 : setup.framesInBitmap;
  Surface blank(setup.frameWidth, setup.frameHeight * strips);

  std::unique_ptr<NEnemyChara> enemy;
  std::unique_ptr<NPotionChara> potion;
  NSprite256* sprite = nullptr;
  if (setup.reduced) {
    potion = setup.bitmap ? std::make_unique<NPotionChara>(*setup.bitmap, &script, NPotionChara::kScenery)
                          : std::make_unique<NPotionChara>(blank, &script, NPotionChara::kScenery);
    sprite = potion.get();
  } else {
    // A boss part: its script runs from the first call.
    enemy = setup.bitmap ? std::make_unique<NEnemyChara>(*setup.bitmap, &script, strips, 1)
                         : std::make_unique<NEnemyChara>(blank, &script, strips, 1);
    sprite = enemy.get();
  }
  sprite->SetPosition(setup.atX, setup.atY);

  std::vector<std::string> lines;
  for (int t = 1; t <= frames; ++t) {
    if (potion) {
      potion->Step(world);
    } else {
      enemy->RunScript(world, world, world, world);
    }
    lines.push_back(FrameLine(t, *sprite, world.Take()));
  }
  return lines;
}
