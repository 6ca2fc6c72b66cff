#include "audio/tune_finder.h"

#include <system_error>

namespace fs = std::filesystem;

namespace {

bool HoldsTune(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  fs::path midi = folder / name;
  return fs::exists(midi, ec) || fs::exists(fs::path(midi).replace_extension(kRecordingExtension), ec);
}

}  // namespace

fs::path FindTune(const std::string& name, const fs::path& programFolder, const fs::path& dataFolderFromProgram) {
  if (!dataFolderFromProgram.empty() && !HoldsTune(programFolder, name)) {
    fs::path data = programFolder / dataFolderFromProgram;
    if (HoldsTune(data, name)) return (data / name).lexically_normal();
  }
  return programFolder / name;
}
