#pragma once

#include "gfx/sprite256.h"
#include "script/script_state.h"

class NScript;
class SoundSink;

// A sprite that flies a movement script in the reduced command set: the
// potions, and the event texts and scene pictures (kind 2).
class NPotionChara : public NSprite256 {
 public:
  static constexpr int kPotion = 0;
  static constexpr int kLifePotion = 1;
  static constexpr int kScenery = 2;  // never picked up

  // script is borrowed: the potion list, the events or the scene own it.
  NPotionChara(const NDib256& dib, const NScript* script, int kind);
  NPotionChara(int bitmapId, const NScript* script, int kind);
  // From an in-memory strip (tests and tools).
  NPotionChara(const Surface& strip, const NScript* script, int kind);

  // One frame of the script, with its sounds played by the sound bank.
  void Move() override;
  // The same with the sounds sent elsewhere.
  void Step(SoundSink& sounds);

  int GetKind() const { return kind; }

 protected:
  int kind;
  const NScript* script;
  // Only the counters of the reduced set are used: no return position, no
  // bullet offset.
  ScriptState state;
};
