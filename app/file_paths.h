#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>
#include <vector>

#include "app/player_file.h"

// Names and messages shared by the steps of a save.

// The folder of a path; a bare name lives in the current folder.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);
std::string Join(const std::string& folder, const std::string& name);
// A name for a file kept beside name, made by adding mark and at most a
// process id: "ranking.ini.lock", "ranking.ini.tmp-<pid>". Where that would
// be longer than the system allows, a short name from a hash of name takes
// its place (".velloria-<16 hex digits><mark>"), the same for each name, so
// the save of a 255-byte name still finds its own files.
std::string SideName(const std::string& name, const char* mark);

FileOutcome Failed(std::string reason);
// The system's words for an error, lower case for the middle of a message.
FileOutcome FailedWith(int error);

// After a rename the new name is on disk only once its folder is synced.
// Some file systems cannot sync a folder; the file itself is safe by then,
// so that is no failure.
void SyncFolder(const std::string& folder);

// "<prefix><pid>" left by a run that was killed while saving: its pid no
// longer runs (or is this run's, handed on by the system).
bool LeftByDeadRun(const std::string& entry, const std::string& prefix);
// The regular files in folder left by dead runs under prefix.
std::vector<std::string> LeftFiles(const std::string& folder, const std::string& prefix);

// All of bytes written at the start of fd, which is cut to their length
// and synced. Leaves errno as a failure set it.
bool WriteWhole(int fd, std::string_view bytes);

// A file this save creates (never one that was there): removed again when
// it goes out of scope unless kept. Calls leave errno as their failure set it.
class NewFile {
 public:
  NewFile(std::string path, mode_t mode);
  ~NewFile();
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  bool Created() const { return created_; }
  const std::string& Path() const { return path_; }
  int Fd() const { return fd_; }
  void Keep() { kept_ = true; }

  // The old file's owner and group first, where this user may give them
  // (changing them clears set-id bits), then its permission bits.
  bool TakeModeOf(const struct stat& old);
  // Everything written and on disk, and the file closed.
  bool Finish(std::string_view bytes);

 private:
  std::string path_;
  int fd_ = -1;
  bool created_ = false;
  bool kept_ = false;
};
