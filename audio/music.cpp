#include "audio/music.h"

#include "base/nstring.h"

namespace {
MusicDevice* musicDevice = nullptr;
}

void SetMusicDevice(MusicDevice* device) { musicDevice = device; }

int PlayMusic(const char* name) {
  if (!name || !musicDevice) return 0;
  musicDevice->Close();
  NString path = NString::GetProgramDirectory();
  path.Append(NString(name));
  if (!musicDevice->Open(path.Str())) return 0;
  return musicDevice->PlayFromStart() ? 1 : 0;
}

int ReplayMusic() { return musicDevice && musicDevice->PlayFromStart() ? 1 : 0; }
int ResumeMusic() { return musicDevice && musicDevice->Resume() ? 1 : 0; }
int StopMusic() { return musicDevice && musicDevice->Pause() ? 1 : 0; }

int CloseMusic() {
  if (!musicDevice) return 0;
  musicDevice->Close();
  return 1;
}
