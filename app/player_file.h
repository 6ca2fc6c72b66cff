#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The files the game keeps for the player (the ranking, settings,
// screenshots) are never damaged by a save:
// - a save writes a temporary file beside the file it replaces, syncs it,
//   renames it over the old one and syncs the folder, so a crash or a power
//   cut leaves the old file or the new one, whole;
// - links are followed, a chain too, to the file they name: that file is
//   replaced and the links stay links;
// - the new file keeps the old one's permission bits (and owner and group
//   where the program may set them); a new file gets 0666 under the umask;
// - anything that is not a regular file (a device, a FIFO, a socket, a
//   folder) is never opened in a way that can block and never replaced;
// - a file or folder without write permission is read-only, also for root;
// - a file with several names (hard links), or with extended attributes
//   that cannot be given to a new file, is written in place instead, a copy
//   of its old contents kept beside it until the new ones are on disk; the
//   user and system attributes (an ACL too) of a replaced file are carried;
// - one save of a file at a time among all copies of the program: each
//   holds a lock on "<name>.lock" beside the file (app/save_lock.h);
// - a temporary name is never longer than the system allows: a long name
//   gets a short one from its hash;
// - a failed save leaves the old file as it was, no temporary file and no
//   folder it made; temporary files of runs that were killed are removed
//   by the next save.
struct FileOutcome {
  enum class Status { Done, Missing, NotRegular, Failed };
  Status status = Status::Done;
  // A few words for a message: "read-only file", "no space left on device".
  std::string reason;
  bool Done() const { return status == Status::Done; }
};

// The whole file at path, read as app/file_reader.h reads every file named
// to the program (a size cap, a byte-order mark left out); Missing when
// there is none.
FileOutcome ReadPlayerFile(const std::string& path, std::string& text);
// Replaces the whole file at path with bytes (creating it and its folders
// when missing), by the rules above.
FileOutcome SavePlayerFile(const std::string& path, std::string_view bytes);
// Makes the file's new text from its text as it is now (exists false: there
// is none yet; current is then empty), under the file's lock from the read
// to the rename, so that copies saving at once each keep their changes.
// merge returns nothing to leave the file as it is. A file that cannot be
// read is not merged; a lock another save holds for more than a few
// seconds fails the save, saying so.
using PlayerFileMerge = std::function<std::optional<std::string>(std::string_view current, bool exists)>;
FileOutcome UpdatePlayerFile(const std::string& path, const PlayerFileMerge& merge);
// Saves bytes as a new file in folder under the first of name(first) to
// name(last) that is free, never replacing anything; saved gets its path.
FileOutcome SaveNewPlayerFile(const std::string& folder, const std::function<std::string(int)>& name, int first,
                              int last, std::string_view bytes, std::string& saved);
