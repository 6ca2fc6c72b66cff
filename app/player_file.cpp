#include "app/player_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <optional>
#include <vector>

#include "app/file_paths.h"
#include "app/file_reader.h"
#include "app/save_faults.h"
#include "app/save_in_place.h"
#include "app/save_lock.h"

namespace {

constexpr int kMaxLinks = 40;          // as many as the kernel follows in one path
constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask
constexpr mode_t kPrivateMode = 0600;  // until the old file's own mode is set
constexpr mode_t kAnyWriteBit = 0222;
constexpr const char* kTempMark = ".tmp-";

FileOutcome NotRegular() { return {FileOutcome::Status::NotRegular, "not a regular file"}; }

// Where a chain of links ends: the file to replace, which need not exist
// yet (a link may name a file still to be made). A relative link counts
// from its own folder.
bool FollowLinks(std::string path, std::string& target, std::string& why) {
  for (int hop = 0; hop <= kMaxLinks; ++hop) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      target = path;
      return true;
    }
    std::vector<char> buffer(PATH_MAX);
    ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (length <= 0) {
      why = FailedWith(errno).reason;
      return false;
    }
    std::string link(buffer.data(), static_cast<size_t>(length));
    path = link.front() == '/' ? link : Join(FolderOf(path), link);
  }
  why = FailedWith(ELOOP).reason;
  return false;
}

// Root may write anywhere; a file or folder whose mode has no write bit is
// read-only all the same, as its owner meant it to be.
bool Writable(const std::string& path, const struct stat& st) {
  return (st.st_mode & kAnyWriteBit) != 0 && ::access(path.c_str(), W_OK) == 0;
}

FileOutcome WritableFolder(const std::string& folder) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) return FailedWith(errno);
  if (!S_ISDIR(st.st_mode)) return FailedWith(ENOTDIR);
  if (!Writable(folder, st)) return Failed("read-only folder");
  return {};
}

// Temporary files of runs that were killed while saving.
void RemoveStaleTemps(const std::string& folder, const std::string& name) {
  for (const std::string& left : LeftFiles(folder, SideName(name, kTempMark))) ::unlink(left.c_str());
}

// File systems without hard links (FAT, some network shares) refuse link();
// the browser's files in memory say the file has too many links already, as
// does a file at the system's limit of names.
bool LinksUnsupported(int error) { return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK; }

// What the file at target is now: whether there is one (a missing one is
// made), and whether it may be replaced.
FileOutcome LookAt(const std::string& target, struct stat& old, bool& exists) {
  exists = ::lstat(target.c_str(), &old) == 0;
  // A folder on the way that is missing, or is a file, is for the folder
  // making to find and name.
  if (!exists && errno != ENOENT && errno != ENOTDIR) return FailedWith(errno);
  if (exists && !S_ISREG(old.st_mode)) return NotRegular();
  if (exists && !Writable(target, old)) return Failed("read-only file");
  return {};
}

// Under the lock: the new file written beside target and renamed over it.
FileOutcome Replace(const std::string& target, std::string_view bytes) {
  struct stat old {};
  bool exists = false;
  if (FileOutcome look = LookAt(target, old, exists); !look.Done()) return look;
  // A new file would be a name of its own, the other names keeping the old
  // contents.
  if (exists && old.st_nlink > 1) return SaveInPlace(target, bytes);
  const std::string folder = FolderOf(target);
  RemoveStaleTemps(folder, NameOf(target));
  NewFile temp(Join(folder, SideName(NameOf(target), kTempMark) + std::to_string(::getpid())),
               exists ? kPrivateMode : kNewFileMode);
  if (!temp.Created()) return FailedWith(errno);
  if (exists && !temp.TakeModeOf(old)) return FailedWith(errno);
  if (exists && !CarryAttributes(target, temp.Fd())) return SaveInPlace(target, bytes);
  if (!temp.Finish(bytes)) return FailedWith(errno);
  // Readers see the old file or the new one, never a part.
  if (SaveFault(SaveStep::Rename) || ::rename(temp.Path().c_str(), target.c_str()) != 0) return FailedWith(errno);
  temp.Keep();
  SyncFolder(folder);
  return {};
}

// The steps of every save: the file found through its links, its folders
// made, the lock taken; then, when merging, the file read as it is now and
// merged; then replaced. A save that fails leaves no folder it made.
FileOutcome Save(const std::string& path, const PlayerFileMerge* merge, std::string_view bytes) {
  std::string target;
  std::string why;
  if (!FollowLinks(path, target, why)) return Failed(why);
  struct stat old {};
  bool exists = false;
  if (FileOutcome look = LookAt(target, old, exists); !look.Done()) return look;
  const std::string folder = FolderOf(target);
  MadeFolders made;
  if (!exists) {
    if (FileOutcome folders = made.Make(folder); !folders.Done()) return folders;
  }
  if (FileOutcome writable = WritableFolder(folder); !writable.Done()) return writable;
  SaveLock lock;
  if (FileOutcome locked = lock.Take(target); !locked.Done()) return locked;
  RestoreLeftCopies(target);
  std::string merged;
  if (merge) {
    std::string current;
    FileOutcome read = ReadPlayerFile(target, current);
    if (read.status == FileOutcome::Status::Failed || read.status == FileOutcome::Status::NotRegular) return read;
    std::optional<std::string> text = (*merge)(current, read.Done());
    if (!text) return {};
    merged = std::move(*text);
    bytes = merged;
  }
  FileOutcome saved = Replace(target, bytes);
  if (saved.Done()) made.Keep();
  return saved;
}

}  // namespace

FileOutcome ReadPlayerFile(const std::string& path, std::string& text) {
  FileRead read = ReadFileOfKind(path, kPlayerFileKind, text);
  switch (read.problem) {
    case FileRead::Problem::None:
      return {};
    case FileRead::Problem::Missing:
      return {FileOutcome::Status::Missing, ""};
    case FileRead::Problem::NotRegular:
      return NotRegular();
    case FileRead::Problem::TooLarge:
      return Failed(ReadProblem(read, kPlayerFileKind).substr(std::char_traits<char>::length("is ")));
    case FileRead::Problem::System:
      break;
  }
  return FailedWith(read.error);
}

FileOutcome SavePlayerFile(const std::string& path, std::string_view bytes) { return Save(path, nullptr, bytes); }

FileOutcome UpdatePlayerFile(const std::string& path, const PlayerFileMerge& merge) { return Save(path, &merge, {}); }

FileOutcome SaveNewPlayerFile(const std::string& folder, const std::function<std::string(int)>& name, int first,
                              int last, std::string_view bytes, std::string& saved) {
  if (FileOutcome writable = WritableFolder(folder); !writable.Done()) return writable;
  const std::string base = name(first);
  RemoveStaleTemps(folder, base);
  NewFile temp(Join(folder, SideName(base, kTempMark) + std::to_string(::getpid())), kNewFileMode);
  if (!temp.Created() || !temp.Finish(bytes)) return FailedWith(errno);
  for (int n = first; n <= last; ++n) {
    std::string path = Join(folder, name(n));
    // A second name for the finished file is made only where none is: the
    // free name is claimed and filled in one step. The temporary name goes.
    if (::link(temp.Path().c_str(), path.c_str()) == 0) {
      saved = path;
      SyncFolder(folder);
      return {};
    }
    if (errno == EEXIST) continue;
    if (!LinksUnsupported(errno)) return FailedWith(errno);
    // Without links: the name is claimed by an exclusive create, and a
    // failed write takes it back.
    NewFile direct(path, kNewFileMode);
    if (!direct.Created()) {
      if (errno == EEXIST) continue;
      return FailedWith(errno);
    }
    if (!direct.Finish(bytes)) return FailedWith(errno);
    direct.Keep();
    saved = path;
    SyncFolder(folder);
    return {};
  }
  return Failed("every name is taken");
}
