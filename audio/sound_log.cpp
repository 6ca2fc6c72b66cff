#include "audio/sound_log.h"

#include <string>

#include "base/frame_clock.h"
#include "base/output_file.h"

namespace {
OutputFile logFile;
}  // namespace

bool OpenSoundLog(const std::string& path) {
  CloseSoundLog();
  return logFile.Open(path, "sounds are not logged");
}

bool CloseSoundLog() { return logFile.Close(); }

// Each line is flushed at once so that a run that dies still leaves its log.
void LogEffect(int slot) {
  if (!logFile.IsOpen()) return;
  logFile.Write(std::to_string(CurrentFrame()) + " play " + std::to_string(slot) + "\n");
  logFile.Flush();
}

void LogMusicCommand(const char* command, const std::string& name) {
  if (!logFile.IsOpen()) return;
  logFile.Write(std::to_string(CurrentFrame()) + " music " + command + " " + name + "\n");
  logFile.Flush();
}
