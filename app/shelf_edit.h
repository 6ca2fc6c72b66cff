#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/player_file.h"
#include "app/replay_shelf.h"

// What the player does with the kept runs from the options. Every change
// rewrites the index through the player files' safe save.

// The folder's runs as its index lists them, oldest first (none: empty).
std::vector<ShelfEntry> ReadShelf(const std::filesystem::path& folder);
// Marks a run kept (never dropped by the folder's bound) or not.
FileOutcome MarkKept(const std::filesystem::path& folder, const std::string& file, bool kept);
// Takes a run out of the index, then removes its file.
FileOutcome DeleteKeptRun(const std::filesystem::path& folder, const std::string& file);
// Copies a run into into (made if missing) as velloria-DATE-N.txt, never
// over a file that is there; saved gets the new file's path.
FileOutcome ExportKeptRun(const std::filesystem::path& folder, const ShelfEntry& run, const std::filesystem::path& into,
                          std::string& saved);
