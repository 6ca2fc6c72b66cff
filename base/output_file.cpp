#include "base/output_file.h"

#include <cerrno>
#include <cstdio>

#include "base/output_fd.h"
#include "base/printable.h"

namespace {

constexpr size_t kBufferBytes = 65536;
bool anyFailed = false;

}  // namespace

bool OutputFile::Open(const std::string& path, std::string loss) {
  Close();
  path_ = path;
  loss_ = std::move(loss);
  failed_ = false;
  std::string reason;
  fd_ = OpenOutputFd(path, reason);
  if (fd_ < 0) {
    Fail(reason);
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
    long n = WriteOutputFd(fd_, rest);
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
    if (fd_ >= 0 && CloseOutputFd(fd_) != 0) {
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
  if (fd_ >= 0) CloseOutputFd(fd_);
  fd_ = -1;
  failed_ = true;
  anyFailed = true;
}

bool OutputFailed() { return anyFailed; }
void ResetOutputFailed() { anyFailed = false; }
