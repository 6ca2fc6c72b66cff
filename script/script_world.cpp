#include "script/script_world.h"

#include "app/app_block.h"
#include "audio/sound_list.h"
#include "base/math_util.h"

namespace {

class BankSoundSink : public SoundSink {
 public:
  void Play(int sound) override {
    // Scripts play their effects once, never looped.
    if (NSoundList* bank = GetSoundList()) bank->Play(sound, 0);
  }
};

class GameChanceSource : public ChanceSource {
 public:
  int Random(int n) override { return ::Random(n); }
};

}  // namespace

SoundSink& BankSounds() {
  static BankSoundSink sink;
  return sink;
}

ChanceSource& GameChance() {
  static GameChanceSource source;
  return source;
}
