#include "app/save_in_place.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifndef __EMSCRIPTEN__
#include <sys/xattr.h>
#endif
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "app/file_paths.h"
#include "app/save_faults.h"

namespace {

constexpr const char* kCopyMark = ".old-";
constexpr mode_t kCopyMode = 0600;  // the old contents are the player's alone
constexpr size_t kReadChunk = 65536;

// Attributes a program may set on its own file; trusted and security ones
// are the system's to give.
#ifndef __EMSCRIPTEN__
bool Carried(const std::string& name) { return name.rfind("user.", 0) == 0 || name.rfind("system.", 0) == 0; }
#endif

bool ReadAll(int fd, std::string& text) {
  std::vector<char> buffer(kReadChunk);
  text.clear();
  for (off_t at = 0;;) {
    ssize_t n = ::pread(fd, buffer.data(), buffer.size(), at);
    if (n == 0) return true;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    text.append(buffer.data(), static_cast<size_t>(n));
    at += n;
  }
}

struct FdCloser {
  int fd;
  ~FdCloser() { ::close(fd); }
};

int OpenRegular(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  struct stat st {};
  if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
    ::close(fd);
    errno = EINVAL;
    return -1;
  }
  return fd;
}

}  // namespace

bool CarryAttributes(const std::string& from, int fd) {
  if (SaveFault(SaveStep::Attributes)) return false;
#ifdef __EMSCRIPTEN__
  // The browser's files in memory have no attributes to carry.
  (void)from;
  (void)fd;
  return true;
#else
  ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
  if (size < 0) return errno == ENOTSUP;
  std::vector<char> names(static_cast<size_t>(size));
  size = ::listxattr(from.c_str(), names.data(), names.size());
  if (size < 0) return false;
  for (size_t at = 0; at < static_cast<size_t>(size);) {
    std::string name(names.data() + at);
    at += name.size() + 1;
    if (!Carried(name)) continue;
    ssize_t length = ::getxattr(from.c_str(), name.c_str(), nullptr, 0);
    if (length < 0) return false;
    std::vector<char> value(static_cast<size_t>(length));
    length = ::getxattr(from.c_str(), name.c_str(), value.data(), value.size());
    if (length < 0 || ::fsetxattr(fd, name.c_str(), value.data(), static_cast<size_t>(length), 0) != 0) return false;
  }
  return true;
#endif
}

FileOutcome SaveInPlace(const std::string& target, std::string_view bytes) {
  if (SaveFault(SaveStep::Open)) return FailedWith(errno);
  int fd = OpenRegular(target);
  if (fd < 0) return FailedWith(errno);
  FdCloser closer{fd};
  std::string old;
  if (!ReadAll(fd, old)) return FailedWith(errno);
  const std::string folder = FolderOf(target);
  NewFile copy(Join(folder, SideName(NameOf(target), kCopyMark) + std::to_string(::getpid())), kCopyMode);
  if (!copy.Created() || !copy.Finish(old)) return FailedWith(errno);
  SyncFolder(folder);
  if (WriteWhole(fd, bytes)) return {};  // the copy goes
  int error = errno;
  if (WriteWhole(fd, old)) return FailedWith(error);
  copy.Keep();
  return Failed(FailedWith(error).reason + "; its old contents are kept in " + copy.Path());
}

void RestoreLeftCopies(const std::string& target) {
  for (const std::string& left : LeftFiles(FolderOf(target), SideName(NameOf(target), kCopyMark))) {
    std::string old;
    int from = ::open(left.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (from < 0) continue;
    bool read = ReadAll(from, old);
    ::close(from);
    int fd = OpenRegular(target);
    if (fd < 0) continue;
    bool restored = read && WriteWhole(fd, old);
    ::close(fd);
    if (restored) ::unlink(left.c_str());
  }
}
