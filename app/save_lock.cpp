#include "app/save_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <thread>

#include "app/file_paths.h"
#include "app/save_faults.h"

namespace {

constexpr const char* kLockMark = ".lock";
constexpr mode_t kLockMode = 0666;  // narrowed by the umask; whoever may save may lock
constexpr mode_t kFolderMode = 0777;
constexpr mode_t kAnyWriteBit = 0222;
constexpr std::chrono::milliseconds kLockPoll{10};

std::string Duration(std::chrono::milliseconds wait) {
  constexpr int64_t kMsPerSecond = 1000;
  int64_t ms = wait.count();
  return ms % kMsPerSecond == 0 ? std::to_string(ms / kMsPerSecond) + " s" : std::to_string(ms) + " ms";
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

SaveLock::~SaveLock() {
  if (fd_ < 0) return;
  // Removed while still held: a save that waits on this file finds it gone
  // once it has the lock, and locks the next one.
  ::unlink(path_.c_str());
  ::close(fd_);
}

FileOutcome SaveLock::Take(const std::string& target) {
  path_ = Join(FolderOf(target), SideName(NameOf(target), kLockMark));
  const auto deadline = std::chrono::steady_clock::now() + SaveLockWait();
  for (;;) {
    if (SaveFault(SaveStep::Lock)) return Failed("cannot lock it: " + FailedWith(errno).reason);
    // Read-only and non-blocking: a FIFO in the lock file's place never
    // holds the save up, and is refused below.
    int fd = ::open(path_.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, kLockMode);
    if (fd < 0) return Failed("cannot make its lock file: " + FailedWith(errno).reason);
    struct stat held {};
    if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
      ::close(fd);
      return Failed("its lock file " + path_ + " is not a regular file");
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      struct stat named {};
      if (::stat(path_.c_str(), &named) == 0 && SameFile(held, named)) {
        fd_ = fd;
        return {};
      }
      ::close(fd);  // the save before let it go and removed it: lock anew
      continue;
    }
    int error = errno;
    ::close(fd);
    if (error != EWOULDBLOCK && error != EINTR) return Failed("cannot lock it: " + FailedWith(error).reason);
    if (std::chrono::steady_clock::now() >= deadline) {
      return Failed("another save held its lock " + path_ + " for over " + Duration(SaveLockWait()));
    }
    std::this_thread::sleep_for(kLockPoll);
  }
}

MadeFolders::~MadeFolders() {
  for (auto it = made_.rbegin(); it != made_.rend(); ++it) ::rmdir(it->c_str());
}

FileOutcome MadeFolders::Make(const std::string& folder) {
  std::vector<std::string> missing;
  for (std::filesystem::path at = folder; !at.empty(); at = at.parent_path()) {
    struct stat st {};
    if (::stat(at.c_str(), &st) == 0) {
      if (!S_ISDIR(st.st_mode)) return Failed("cannot make its folder: " + FailedWith(ENOTDIR).reason);
      // A folder without write bits is read-only, also for root.
      if (!missing.empty() && (st.st_mode & kAnyWriteBit) == 0) {
        return Failed("cannot make its folder: " + FailedWith(EACCES).reason);
      }
      break;
    }
    if (errno != ENOENT) return Failed("cannot make its folder: " + FailedWith(errno).reason);
    missing.push_back(at.string());
    if (at == at.parent_path()) break;
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (SaveFault(SaveStep::Folder) || ::mkdir(it->c_str(), kFolderMode) != 0) {
      if (errno == EEXIST) continue;  // another save made it meanwhile: not ours to remove
      return Failed("cannot make its folder: " + FailedWith(errno).reason);
    }
    made_.push_back(*it);
  }
  return {};
}
