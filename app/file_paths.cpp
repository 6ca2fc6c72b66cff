#include "app/file_paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/save_faults.h"

namespace {

constexpr size_t kMaxNameBytes = NAME_MAX;
constexpr size_t kMaxPidDigits = 9;
constexpr mode_t kPermissionBits = 07777;
constexpr uint64_t kFnvOffset = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;

uint64_t HashOf(const std::string& text) {
  uint64_t hash = kFnvOffset;
  for (unsigned char c : text) hash = (hash ^ c) * kFnvPrime;
  return hash;
}

}  // namespace

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

std::string Join(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string SideName(const std::string& name, const char* mark) {
  if (name.size() + std::strlen(mark) + kMaxPidDigits <= kMaxNameBytes) return name + mark;
  char hash[20];
  std::snprintf(hash, sizeof(hash), "%016llx", static_cast<unsigned long long>(HashOf(name)));
  return std::string(".velloria-") + hash + mark;
}

FileOutcome Failed(std::string reason) { return {FileOutcome::Status::Failed, std::move(reason)}; }

FileOutcome FailedWith(int error) {
  std::string text = std::strerror(error);
  if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  return Failed(text);
}

void SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  if (!SaveFault(SaveStep::FolderSync)) ::fsync(fd);
  ::close(fd);
}

bool LeftByDeadRun(const std::string& entry, const std::string& prefix) {
  if (entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0) return false;
  std::string digits = entry.substr(prefix.size());
  if (digits.size() > kMaxPidDigits || digits.find_first_not_of("0123456789") != std::string::npos) return false;
  pid_t pid = static_cast<pid_t>(std::stol(digits));
  return pid == ::getpid() || (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH);
}

std::vector<std::string> LeftFiles(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> left;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
  if (!dir) return left;
  while (const dirent* entry = ::readdir(dir.get())) {
    struct stat st {};
    if (LeftByDeadRun(entry->d_name, prefix) &&
        ::fstatat(::dirfd(dir.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
      left.push_back(Join(folder, entry->d_name));
    }
  }
  return left;
}

bool WriteWhole(int fd, std::string_view bytes) {
  off_t at = 0;
  if (SaveFault(SaveStep::Write)) return false;
  while (!bytes.empty()) {
    ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), at);
    if (n > 0) {
      bytes.remove_prefix(static_cast<size_t>(n));
      at += n;
    } else if (n == 0 || errno != EINTR) {
      if (n == 0) errno = EIO;
      return false;
    }
  }
  if (::ftruncate(fd, at) != 0) return false;
  return !SaveFault(SaveStep::Sync) && ::fsync(fd) == 0;
}

NewFile::NewFile(std::string path, mode_t mode) : path_(std::move(path)) {
  if (SaveFault(SaveStep::Open)) return;
  fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
  created_ = fd_ >= 0;
}

NewFile::~NewFile() {
  int error = errno;
  if (fd_ >= 0) ::close(fd_);
  if (created_ && !kept_) ::unlink(path_.c_str());
  errno = error;
}

bool NewFile::TakeModeOf(const struct stat& old) {
  if (::fchown(fd_, old.st_uid, old.st_gid) != 0 && ::fchown(fd_, static_cast<uid_t>(-1), old.st_gid) != 0) {
    // Not root and not in the old group: the file stays this user's.
  }
  return ::fchmod(fd_, old.st_mode & kPermissionBits) == 0;
}

bool NewFile::Finish(std::string_view bytes) {
  bool ok = WriteWhole(fd_, bytes);
  int error = errno;
  if (::close(fd_) != 0 && ok) {
    ok = false;
    error = errno;
  }
  fd_ = -1;
  errno = error;
  return ok;
}
