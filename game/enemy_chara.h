#pragma once

#include <cstdint>

#include "gfx/sprite256.h"
#include "script/script_state.h"

class NScript;
class BulletSink;
class PlayerView;
class SoundSink;
class ChanceSource;

// A creature of the formation or a part of a boss. In the formation (mode 0)
// it slides with the block, fires now and then by chance and counts down to
// its dive; diving (mode 1) it flies its kind's movement script.
class NEnemyChara : public NSprite256 {
 public:
  static constexpr float kSpeed = 2.5f;
  static constexpr int kAnimationDelay = 5;
  static constexpr int kFormationPattern = 1;

  // script is borrowed: the enemy list or the boss owns it.
  NEnemyChara(int bitmapId, const NScript* script, int frames, int mode);
  NEnemyChara(const NDib256& dib, const NScript* script, int frames, int mode);
  // From an in-memory strip (tests and tools).
  NEnemyChara(const Surface& strip, const NScript* script, int frames, int mode);

  // One frame: the formation step or the script, by mode. Sounds go to the
  // sound bank, chance shots draw from the game's random numbers.
  void RunScript(BulletSink& bullets, const PlayerView& player);
  void RunScript(BulletSink& bullets, const PlayerView& player, SoundSink& sounds, ChanceSource& chance);

  void SetFireChance(uint16_t chance) { fireChance = chance; }
  int GetDiveDelay() const { return diveDelay; }
  void SetDiveDelay(int frames) { diveDelay = frames; }
  int GetHitPoints() const { return hitPoints; }
  void SetHitPoints(int points) { hitPoints = points; }
  int GetMode() const { return mode; }

 protected:
  uint16_t fireChance = 0;  // fires with probability 1/fireChance per formation frame; 0 never
  int diveDelay = 0;        // formation frames left before the dive
  int hitPoints = 0;
  int mode = 0;  // 0 in the formation, 1 flying the script
  const NScript* script = nullptr;
  ScriptState state;

 private:
  void Init();
  void FormationStep(BulletSink& bullets, ChanceSource& chance);
};
