#pragma once

#include <string>
#include <vector>

#include "app/player_file.h"

// One save of a file at a time, among all copies of the program: an
// advisory lock (flock) on an empty file beside it, "<name>.lock", held from
// the re-read of the file to the rename of its new text. The lock file is
// removed as the lock is let go; one left by a killed run is taken over by
// the next save, which removes it in turn. (Live copies are kept apart by
// the instance lock; this one keeps their saves apart, and those of
// headless runs and tools.)
class SaveLock {
 public:
  SaveLock() = default;
  ~SaveLock();
  SaveLock(const SaveLock&) = delete;
  SaveLock& operator=(const SaveLock&) = delete;

  // Waits for the lock of target while another save holds it, for a few
  // seconds at most; then fails, saying so.
  FileOutcome Take(const std::string& target);

 private:
  std::string path_;
  int fd_ = -1;
};

// The folders a save makes on the way to a new file: removed again, deepest
// first, when it goes out of scope unless kept, so a failed save leaves
// no empty folder behind.
class MadeFolders {
 public:
  MadeFolders() = default;
  ~MadeFolders();
  MadeFolders(const MadeFolders&) = delete;
  MadeFolders& operator=(const MadeFolders&) = delete;

  // Makes folder and the folders above it that are missing.
  FileOutcome Make(const std::string& folder);
  void Keep() { made_.clear(); }

 private:
  std::vector<std::string> made_;  // in the order they were made
};
