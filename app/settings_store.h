#pragma once

#include <string>

#include "app/player_file.h"

// Where NWinReg keeps the whole text of a settings file: on disk unless the
// platform puts it elsewhere (a browser page keeps it in its local storage).
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The whole text at path: Missing when there is none, NotRegular when the
  // path names something else (a device, a FIFO, a folder), Failed (with
  // its reason) when it cannot be read.
  virtual FileOutcome Read(const std::string& path, std::string& text) = 0;
  // Replaces the whole text in one step, making folders as needed: a reader
  // sees the old text or the new one. On failure the old text stays and the
  // outcome says why.
  virtual FileOutcome Write(const std::string& path, const std::string& text) = 0;
  // Read, merged and written as one step no other save comes between (on
  // disk: under the file's lock). As given here, for a store whose read and
  // write nothing can come between (a page's storage, within one turn of
  // the page's loop).
  virtual FileOutcome Update(const std::string& path, const PlayerFileMerge& merge);
};

// The system's own store: files on disk (app/file_store.cpp); on Windows the
// ranking's file is the registry's key.
SettingsStore& SystemSettingsStore();
// The store in use; the system's until SetSettingsStore names another.
SettingsStore& GetSettingsStore();
// null goes back to the system's. The store must outlive its use.
void SetSettingsStore(SettingsStore* store);
