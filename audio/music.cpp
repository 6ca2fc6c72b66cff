#include "audio/music.h"

#include <filesystem>
#include <string>

#include "audio/sound_log.h"
#include "audio/tune_finder.h"
#include "base/nstring.h"
#include "base/utf8_path.h"

// The installed data folder, relative to the program's folder; the build
// sets it for the install layout it was configured with.
#ifndef VELLORIA_TUNE_FOLDER
#define VELLORIA_TUNE_FOLDER ""
#endif

namespace {
constexpr const char* kTuneFolderFromProgram = VELLORIA_TUNE_FOLDER;
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
  const std::filesystem::path tune =
      FindTune(name, PathFromUtf8(NString::GetProgramDirectory().Str()), kTuneFolderFromProgram);
  std::string path = Utf8Of(tune);
  // A recording of the tune beside its MIDI file plays in its place; a
  // player's own MIDI file plays once the recording is taken away. A missing
  // file or synthesiser leaves the game without music, nothing more.
  const std::filesystem::path recorded = std::filesystem::path(tune).replace_extension(kRecordingExtension);
  std::error_code ec;
  bool opened = recorded != tune && std::filesystem::exists(recorded, ec) && musicDevice->Open(Utf8Of(recorded));
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
