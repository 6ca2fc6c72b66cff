#include "app/player_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/file_reader.h"

namespace {

constexpr int kMaxLinks = 40;          // as many as the kernel follows in one path
constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask
constexpr mode_t kPrivateMode = 0600;  // until the old file's own mode is set
constexpr mode_t kPermissionBits = 07777;
constexpr mode_t kAnyWriteBit = 0222;
constexpr size_t kMaxPidDigits = 9;
constexpr const char* kTempMark = ".tmp-";

FileOutcome Failed(std::string reason) { return {FileOutcome::Status::Failed, std::move(reason)}; }
FileOutcome NotRegular() { return {FileOutcome::Status::NotRegular, "not a regular file"}; }

// The system's words for an error, lower case for the middle of a message.
FileOutcome FailedWith(int error) {
  std::string text = std::strerror(error);
  if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  return Failed(text);
}

// A bare name lives in the current folder.
std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

std::string Join(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

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

// "<name>.tmp-<pid>" left by a run that was killed while saving: its pid no
// longer runs (or is this run's, handed on by the system).
bool IsStaleTemp(const std::string& entry, const std::string& prefix) {
  if (entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0) return false;
  std::string digits = entry.substr(prefix.size());
  if (digits.size() > kMaxPidDigits || digits.find_first_not_of("0123456789") != std::string::npos) return false;
  pid_t pid = static_cast<pid_t>(std::stol(digits));
  return pid == ::getpid() || (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH);
}

void RemoveStaleTemps(const std::string& folder, const std::string& name) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
  if (!dir) return;
  const std::string prefix = name + kTempMark;
  while (const dirent* entry = ::readdir(dir.get())) {
    struct stat st {};
    if (IsStaleTemp(entry->d_name, prefix) &&
        ::fstatat(::dirfd(dir.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
      ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
    }
  }
}

// After a rename the new name is on disk only once its folder is synced.
// Some file systems cannot sync a folder; the file itself is safe by then,
// so that is no failure.
void SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A file this save creates (never one that was there): removed again when
// it goes out of scope unless kept. Calls leave errno as their failure set it.
class NewFile {
 public:
  NewFile(std::string path, mode_t mode) : path_(std::move(path)) {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
    created_ = fd_ >= 0;
  }
  ~NewFile() {
    int error = errno;
    if (fd_ >= 0) ::close(fd_);
    if (created_ && !kept_) ::unlink(path_.c_str());
    errno = error;
  }
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  bool Created() const { return created_; }
  const std::string& Path() const { return path_; }
  void Keep() { kept_ = true; }

  // The old file's owner and group first, where this user may give them
  // (changing them clears set-id bits), then its permission bits.
  bool TakeModeOf(const struct stat& old) {
    if (::fchown(fd_, old.st_uid, old.st_gid) != 0 && ::fchown(fd_, static_cast<uid_t>(-1), old.st_gid) != 0) {
      // Not root and not in the old group: the file stays this user's.
    }
    return ::fchmod(fd_, old.st_mode & kPermissionBits) == 0;
  }

  // Everything written and on disk, and the file closed.
  bool Finish(std::string_view bytes) {
    bool ok = true;
    while (ok && !bytes.empty()) {
      ssize_t n = ::write(fd_, bytes.data(), bytes.size());
      if (n > 0) {
        bytes.remove_prefix(static_cast<size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        if (n == 0) errno = EIO;
        ok = false;
      }
    }
    ok = ok && ::fsync(fd_) == 0;
    int error = errno;
    if (::close(fd_) != 0 && ok) {
      ok = false;
      error = errno;
    }
    fd_ = -1;
    errno = error;
    return ok;
  }

 private:
  std::string path_;
  int fd_ = -1;
  bool created_ = false;
  bool kept_ = false;
};

// File systems without hard links (FAT, some network shares) refuse link().
bool LinksUnsupported(int error) { return error == EPERM || error == EOPNOTSUPP || error == ENOSYS; }

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

FileOutcome SavePlayerFile(const std::string& path, std::string_view bytes) {
  std::string target;
  std::string why;
  if (!FollowLinks(path, target, why)) return Failed(why);
  struct stat old {};
  bool exists = ::lstat(target.c_str(), &old) == 0;
  // A folder on the way that is missing, or is a file, is for the folder
  // making below to find and name.
  if (!exists && errno != ENOENT && errno != ENOTDIR) return FailedWith(errno);
  if (exists && !S_ISREG(old.st_mode)) return NotRegular();
  if (exists && !Writable(target, old)) return Failed("read-only file");
  const std::string folder = FolderOf(target);
  if (!exists) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return Failed("cannot make its folder: " + FailedWith(ec.value()).reason);
  }
  if (FileOutcome writable = WritableFolder(folder); !writable.Done()) return writable;
  RemoveStaleTemps(folder, NameOf(target));
  NewFile temp(target + kTempMark + std::to_string(::getpid()), exists ? kPrivateMode : kNewFileMode);
  if (!temp.Created()) return FailedWith(errno);
  if (exists && !temp.TakeModeOf(old)) return FailedWith(errno);
  if (!temp.Finish(bytes)) return FailedWith(errno);
  // Readers see the old file or the new one, never a part.
  if (::rename(temp.Path().c_str(), target.c_str()) != 0) return FailedWith(errno);
  temp.Keep();
  SyncFolder(folder);
  return {};
}

FileOutcome SaveNewPlayerFile(const std::string& folder, const std::function<std::string(int)>& name, int first,
                              int last, std::string_view bytes, std::string& saved) {
  if (FileOutcome writable = WritableFolder(folder); !writable.Done()) return writable;
  const std::string base = name(first);
  RemoveStaleTemps(folder, base);
  NewFile temp(Join(folder, base) + kTempMark + std::to_string(::getpid()), kNewFileMode);
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
