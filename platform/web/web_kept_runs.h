#pragma once

#include <functional>

// The player's kept runs on the page: the same folder of files the desktop
// keeps (index and one file a run, by the same code and bound), in the
// program's memory, read from the browser's IndexedDB before the first run
// and written back whenever the folder changes (kept-runs.js), so that they
// outlive a reload. A storage that fails is told once; play goes on.
inline constexpr const char* kKeptRunsFolder = "/kept-runs";
// REPLAYS' EXPORT copies a run here; the page offers it as a download.
inline constexpr const char* kExportsFolder = "/exports";

// Reads what the browser holds into the folder, then calls loaded (also
// when there is nothing, or the storage cannot be used).
void LoadKeptRuns(std::function<void()> loaded);
// After the program has run: a changed folder is written to the browser's
// storage, and an exported run goes to the player as a download.
void PassKeptRunsOn();
