#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/output_fd.h"
#include "base/printable.h"

namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask

}  // namespace

int OpenOutputFd(const std::string& path, std::string& reason) {
  // Looked at before it is opened: opening a device can have effects of its
  // own, and a FIFO would wait for a reader. O_NONBLOCK covers a FIFO put in
  // its place meanwhile; fstat then refuses it.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    reason = S_ISDIR(st.st_mode) ? "a folder, not a file" : "not a regular file";
    return -1;
  }
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, kNewFileMode);
  if (fd < 0) {
    reason = ErrorWords(errno);
    return -1;
  }
  if (::fstat(fd, &st) != 0) {
    reason = ErrorWords(errno);
  } else if (!S_ISREG(st.st_mode)) {
    reason = "not a regular file";
  } else if (::ftruncate(fd, 0) != 0) {
    reason = ErrorWords(errno);
  } else {
    return fd;
  }
  ::close(fd);
  return -1;
}

long WriteOutputFd(int fd, std::string_view bytes) {
  return static_cast<long>(::write(fd, bytes.data(), bytes.size()));
}

int CloseOutputFd(int fd) { return ::close(fd); }
