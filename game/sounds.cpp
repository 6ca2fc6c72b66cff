#include "game/sounds.h"

#include "app/app_block.h"
#include "audio/sound_list.h"

void PlaySound(int slot) {
  if (NSoundList* bank = GetSoundList()) bank->Play(slot, 0);
}
