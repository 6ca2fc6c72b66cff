#include "base/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "base/printable.h"

namespace {

constexpr size_t kBufferBytes = 65536;
constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask
bool anyFailed = false;

}  // namespace

bool OutputFile::Open(const std::string& path, std::string loss) {
  Close();
  path_ = path;
  loss_ = std::move(loss);
  failed_ = false;
  // Looked at before it is opened: opening a device can have effects of its
  // own, and a FIFO would wait for a reader. O_NONBLOCK covers a FIFO put in
  // its place meanwhile; fstat then refuses it.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    Fail(S_ISDIR(st.st_mode) ? "a folder, not a file" : "not a regular file");
    return false;
  }
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, kNewFileMode);
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
    Fail(ErrorWords(errno));
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    Fail("not a regular file");
    return false;
  }
  if (::ftruncate(fd_, 0) != 0) {
    Fail(ErrorWords(errno));
    return false;
  }
  return true;
}

void OutputFile::Write(std::string_view bytes) {
  if (fd_ < 0) return;
  buffer_.append(bytes);
  if (buffer_.size() >= kBufferBytes) Flush();
}

void OutputFile::Flush() {
  std::string_view rest = buffer_;
  while (fd_ >= 0 && !rest.empty()) {
    ssize_t n = ::write(fd_, rest.data(), rest.size());
    if (n > 0) {
      rest.remove_prefix(static_cast<size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      Fail(ErrorWords(n == 0 ? EIO : errno));
    }
  }
  buffer_.clear();
}

bool OutputFile::Close() {
  if (fd_ >= 0) {
    Flush();
    // A network file system or a full disk may only tell at the close.
    if (fd_ >= 0 && ::close(fd_) != 0) {
      fd_ = -1;
      Fail(ErrorWords(errno));
    }
    fd_ = -1;
  }
  return !failed_;
}

void OutputFile::Fail(const std::string& reason) {
  std::fprintf(stderr, "velloria: cannot write %s: %s; %s\n", PrintablePath(path_).c_str(), reason.c_str(),
               loss_.c_str());
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  failed_ = true;
  anyFailed = true;
}

bool OutputFailed() { return anyFailed; }
void ResetOutputFailed() { anyFailed = false; }
