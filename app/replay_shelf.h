#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_block.h"
#include "app/player_file.h"
#include "app/run_recorder.h"

// The folder of kept runs, $XDG_DATA_HOME/KorvaGames/Velloria/replays (else
// ~/.local/share/...): one file a run, and index.txt, one line a run, oldest
// first, with what a list shows:
//
//   run-20261208-124455-1.txt 2026-12-08T12:44:55Z episode-2 123 3-16 45012 1 ended 140,ANNA
//
// file, date (UTC), start (episode-N, start-S-L:P, practice-S-L:P),
// potions at the end, furthest stage-level, frames, continues used, flags
// (ended, ending, kept, or -) and the ranking lines the run entered. A run
// holds a place in the ranking while one of those lines is in it.
//
// What stays: every run that holds a place, every run marked kept, and of
// the others the kRecentRuns newest, as long as they come to at most
// kFolderBytes together; past either bound the oldest of them go first.
struct ShelfEntry {
  std::string file;
  std::string date;
  StartPoint start;
  int potions = 0;
  int stage = 0;
  int level = 0;
  int64_t frames = 0;
  int continues = 0;
  bool ended = false;
  bool ending = false;
  bool kept = false;
  std::vector<RankEntry> entered;
};

constexpr size_t kRecentRuns = 30;
constexpr uintmax_t kFolderBytes = 32u << 20;

std::filesystem::path KeptRunsFolder();

// The index's text and back; lines that do not read are left out.
std::vector<ShelfEntry> ParseShelfIndex(const std::string& text);
std::string FormatShelfIndex(const std::vector<ShelfEntry>& entries);

// The best place each entry holds in the ranking, -1 for none. Lines alike
// (score and name) belong to the older runs first, as the ranking keeps the
// older of equal scores above.
std::vector<int> RankedPlaces(const std::vector<ShelfEntry>& entries,
                              const std::array<RankEntry, kRankEntries>& ranking);
// Which entries stay, given each file's size.
std::vector<bool> EntriesThatStay(const std::vector<ShelfEntry>& entries, const std::vector<int>& places,
                                  const std::vector<uintmax_t>& sizes);

// Keeps a run in the folder: under the index's lock, saves its file,
// enters it in the index and drops what no longer stays; the files dropped
// (and run files no line names) go once the new index is saved. A failure
// leaves the index as it was and is told on standard error once a save
// ("velloria: cannot keep the run in FOLDER: read-only folder"); an empty
// folder is the data folder that could not be found.
FileOutcome KeepRun(const std::filesystem::path& folder, const KeptRun& run,
                    const std::array<RankEntry, kRankEntries>& ranking);

// How the last keep went, for the shell's REPLAY NOT SAVED.
struct ReplaySaveStatus {
  bool failed = false;
  std::string reason;
  uint32_t saves = 0;
};
const ReplaySaveStatus& LastReplaySave();
