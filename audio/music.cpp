#include "audio/music.h"

#include <filesystem>
#include <string>

#include "audio/sound_log.h"
#include "base/nstring.h"

namespace {
constexpr const char* kRecordingExtension = ".ogg";
MusicDevice* musicDevice = nullptr;
// The tune last opened, for the sound log only; the device keeps its own.
std::string openTune = "-";
}  // namespace

void SetMusicDevice(MusicDevice* device) { musicDevice = device; }

int PlayMusic(const char* name) {
  if (!name || !*name) return 0;
  openTune = name;
  LogMusicCommand("open", openTune);
  LogMusicCommand("play", openTune);
  if (!musicDevice) return 0;
  musicDevice->Close();
  std::string path = std::string(NString::GetProgramDirectory().Str()) + name;
  // A recording of the tune beside its MIDI file plays in its place; a
  // player's own MIDI file plays once the recording is taken away. A missing
  // file or synthesiser leaves the game without music, nothing more.
  std::string recording = std::filesystem::path(path).replace_extension(kRecordingExtension).string();
  bool opened = recording != path && std::filesystem::exists(recording) && musicDevice->Open(recording);
  if (!opened && !musicDevice->Open(path)) return 0;
  return musicDevice->PlayFromStart() ? 1 : 0;
}

int ReplayMusic() {
  LogMusicCommand("replay", openTune);
  return musicDevice && musicDevice->PlayFromStart() ? 1 : 0;
}

int ResumeMusic() {
  LogMusicCommand("resume", openTune);
  return musicDevice && musicDevice->Resume() ? 1 : 0;
}

int StopMusic() {
  LogMusicCommand("stop", openTune);
  return musicDevice && musicDevice->Pause() ? 1 : 0;
}

int CloseMusic() {
  LogMusicCommand("close", openTune);
  openTune = "-";
  if (!musicDevice) return 0;
  musicDevice->Close();
  return 1;
}
