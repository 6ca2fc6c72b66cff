#pragma once

#include <filesystem>
#include <string>

// A tune's recording lies beside its MIDI file under this extension.
constexpr const char* kRecordingExtension = ".ogg";

// The file a tune is opened from. Tunes are looked for beside the program
// first (the build tree, the browser's page, a tune a player dropped in
// there), then in the installed data folder, which is given relative to the
// program's folder so that an installed tree can be moved as a whole. The
// first folder holding the MIDI file or its recording wins; when none does,
// the place beside the program is named, and opening it finds nothing.
std::filesystem::path FindTune(const std::string& name, const std::filesystem::path& programFolder,
                               const std::filesystem::path& dataFolderFromProgram);
