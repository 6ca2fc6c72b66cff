// The player's files on Windows, by the rules of app/player_file.h: every
// path goes through the wide functions (a user name with accents works), a
// save is written through to the disk beside the file it replaces and takes
// its place in one step (ReplaceFileW keeps the old file's attributes and
// security), a file with several names is written in place
// (win_save_in_place.h), and nothing but a regular file on a disk is read
// or replaced.
// One save of a file at a time among all copies: each holds LockFileEx on
// "<name>.lock" beside it from the re-read of the file to the rename.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>

#include "app/player_file.h"
#include "app/save_faults.h"
#include "platform/windows/win_files.h"
#include "platform/windows/win_save_in_place.h"
#include "platform/windows/win_text.h"

namespace fs = std::filesystem;

namespace {

constexpr const wchar_t* kTempMark = L".tmp-";
constexpr const wchar_t* kLockMark = L".lock";
constexpr std::chrono::milliseconds kLockRetry{20};

FileOutcome NotRegular() { return {FileOutcome::Status::NotRegular, "not a regular file"}; }

bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// A name such as NUL or COM1, or a pipe, opens as something other than a disk file.
bool OnDisk(const std::wstring& path) {
  Handle h = OpenShared(path, 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
  return !h || GetFileType(h.get()) == FILE_TYPE_DISK;
}

// The lock of one save: LockFileEx on "<name>.lock", which the system lets
// go should the process die. The file is removed as the lock is let go
// (it is opened with FILE_SHARE_DELETE, so a waiting copy is not hindered).
class SaveLock {
 public:
  SaveLock() = default;
  ~SaveLock() {
    if (!file_) return;
    OVERLAPPED whole{};
    UnlockFileEx(file_.get(), 0, MAXDWORD, MAXDWORD, &whole);
    file_.reset();
    DeleteFileW(path_.c_str());
  }
  SaveLock(const SaveLock&) = delete;
  SaveLock& operator=(const SaveLock&) = delete;

  // Waits while another save holds the lock, for SaveLockWait() at most.
  FileOutcome Take(const fs::path& target) {
    path_ = target.wstring() + kLockMark;
    Handle h = OpenShared(path_, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    if (!h || SaveFault(SaveStep::Lock))
      return Failed("cannot make its lock file: " + FailedWith(GetLastError()).reason);
    const auto until = std::chrono::steady_clock::now() + SaveLockWait();
    for (;;) {
      OVERLAPPED whole{};
      if (LockFileEx(h.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole))
        break;
      DWORD error = GetLastError();
      if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) return FailedWith(error);
      if (std::chrono::steady_clock::now() >= until) return Failed("another copy of the game is saving it");
      std::this_thread::sleep_for(kLockRetry);
    }
    file_ = std::move(h);
    return {};
  }

 private:
  std::wstring path_;
  Handle file_;
};

// Temporary files beside name left by runs that were killed.
void RemoveStaleTemps(const fs::path& folder, const std::wstring& name) {
  for (const fs::path& left : LeftFiles(folder, name, kTempMark)) DeleteFileW(left.c_str());
}

}  // namespace

// Every save: the file looked at, its folders made, the lock taken; then,
// when merging, the file read as it is now and merged; then replaced.
static FileOutcome Save(const std::string& path, const PlayerFileMerge* merge, std::string_view bytes) {
  const fs::path target(Widen(path));
  DWORD attributes = GetFileAttributesW(target.c_str());
  bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (!exists && !IsMissing(GetLastError())) return FailedWith(GetLastError());
  if (exists && ((attributes & FILE_ATTRIBUTE_DIRECTORY) || !OnDisk(target.wstring()))) return NotRegular();
  if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) return Failed("read-only file");
  const fs::path folder = target.parent_path();
  if (!exists && !folder.empty()) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return Failed("cannot make its folder: " + FailedWith(static_cast<DWORD>(ec.value())).reason);
  }
  SaveLock lock;
  if (FileOutcome locked = lock.Take(target); !locked.Done()) return locked;
  RestoreLeftCopies(target);
  std::string merged;
  if (merge) {
    std::string current;
    FileOutcome read = ReadPlayerFile(path, current);
    if (read.status == FileOutcome::Status::Failed || read.status == FileOutcome::Status::NotRegular) return read;
    std::optional<std::string> text = (*merge)(current, read.Done());
    if (!text) return {};
    merged = std::move(*text);
    bytes = merged;
    // Another copy may have made the file while this one waited.
    attributes = GetFileAttributesW(target.c_str());
    exists = attributes != INVALID_FILE_ATTRIBUTES;
  }
  // A new file would be a name of its own, the other names keeping the old
  // contents.
  if (exists && LinksOf(target) > 1) return SaveInPlace(target, bytes);
  RemoveStaleTemps(folder.empty() ? fs::path(L".") : folder, target.filename().wstring());
  TempFile temp(SideFileFor(target, kTempMark));
  if (DWORD error = temp.Write(bytes); error != ERROR_SUCCESS) return FailedWith(error);
  // Readers see the old file or the new one, never a part.
  BOOL moved = exists ? ReplaceFileW(target.c_str(), temp.Path().c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                     nullptr, nullptr)
                      : MoveFileExW(temp.Path().c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
  if (!moved) return FailedWith(GetLastError());
  temp.Keep();
  return {};
}

FileOutcome SavePlayerFile(const std::string& path, std::string_view bytes) { return Save(path, nullptr, bytes); }

FileOutcome UpdatePlayerFile(const std::string& path, const PlayerFileMerge& merge) { return Save(path, &merge, {}); }

FileOutcome SaveNewPlayerFile(const std::string& folder, const std::function<std::string(int)>& name, int first,
                              int last, std::string_view bytes, std::string& saved) {
  const fs::path where(Widen(folder));
  DWORD attributes = GetFileAttributesW(where.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return FailedWith(GetLastError());
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return Failed("not a folder");
  const std::wstring base = Widen(name(first));
  RemoveStaleTemps(where, base);
  TempFile temp(SideFileFor(where / base, kTempMark));
  if (DWORD error = temp.Write(bytes); error != ERROR_SUCCESS) return FailedWith(error);
  for (int n = first; n <= last; ++n) {
    const fs::path path = where / Widen(name(n));
    // Without MOVEFILE_REPLACE_EXISTING the move claims a free name only:
    // a taken one fails and the next is tried.
    if (MoveFileExW(temp.Path().c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
      temp.Keep();
      saved = Narrow(path.wstring());
      return {};
    }
    DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return FailedWith(error);
  }
  return Failed("every name is taken");
}
