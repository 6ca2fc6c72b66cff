#include "audio/game_sounds.h"

#include "audio/sound_list.h"

void LoadGameSounds(NSoundList& bank) {
  bank.LoadFromResource(142, 1);
  bank.LoadFromResource(144, 2);
  bank.LoadFromResource(143, 2);
  // 274 before 273: the photon charge takes slot 15, the laser 16.
  for (int id : {145, 182, 183, 184, 185, 186, 201, 202, 203, 213, 243, 245, 274, 273, 310}) {
    bank.LoadFromResource(id, 1);
  }
}
