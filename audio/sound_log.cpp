#include "audio/sound_log.h"

#include <fstream>

#include "base/frame_clock.h"

namespace {
std::ofstream logFile;
}  // namespace

bool OpenSoundLog(const std::string& path) {
  CloseSoundLog();
  logFile.open(path, std::ios::trunc);
  return logFile.is_open();
}

void CloseSoundLog() {
  if (logFile.is_open()) logFile.close();
}

// Each line is flushed at once so that a run that dies still leaves its log.
void LogEffect(int slot) {
  if (logFile.is_open()) logFile << CurrentFrame() << " play " << slot << std::endl;
}

void LogMusicCommand(const char* command, const std::string& name) {
  if (logFile.is_open()) logFile << CurrentFrame() << " music " << command << " " << name << std::endl;
}
