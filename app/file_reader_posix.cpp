// Reading a named file on POSIX systems: stat, then open without waiting,
// then fstat again, so a FIFO swapped in between is still refused.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "app/file_reader.h"

namespace {

constexpr size_t kReadChunk = 65536;

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

FileRead System(int error) { return {FileRead::Problem::System, "", 0, error}; }

const char* KindOfNode(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  return "neither a file nor a folder";
}

FileRead Refuse(const struct stat& st, const FileKind& kind) {
  if (!S_ISREG(st.st_mode)) return {FileRead::Problem::NotRegular, KindOfNode(st.st_mode)};
  if (static_cast<uint64_t>(st.st_size) > kind.maxBytes) {
    return {FileRead::Problem::TooLarge, "", static_cast<uint64_t>(st.st_size)};
  }
  return {};
}

}  // namespace

FileRead ReadFileOfKind(const std::string& path, const FileKind& kind, std::string& text) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    bool missing = errno == ENOENT || errno == ENOTDIR;
    return {missing ? FileRead::Problem::Missing : FileRead::Problem::System, "", 0, errno};
  }
  if (FileRead refused = Refuse(st, kind); !refused.Done()) return refused;
  // Should a FIFO take the file's place after that look, the open still
  // does not wait for a writer, and the second look refuses it.
  Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (file.Get() < 0) return System(errno);
  if (::fstat(file.Get(), &st) != 0) return System(errno);
  if (FileRead refused = Refuse(st, kind); !refused.Done()) return refused;
  // One allocation for a file that keeps its size; one that grows while it
  // is read is refused once past the cap.
  std::string all;
  all.reserve(static_cast<size_t>(st.st_size) + kReadChunk);
  for (;;) {
    size_t at = all.size();
    all.resize(at + kReadChunk);
    ssize_t n = ::read(file.Get(), all.data() + at, kReadChunk);
    if (n < 0 && errno == EINTR) {
      all.resize(at);
      continue;
    }
    if (n < 0) return System(errno);
    all.resize(at + static_cast<size_t>(n));
    if (n == 0) break;
    if (all.size() > kind.maxBytes) return {FileRead::Problem::TooLarge, "", all.size()};
  }
  DropByteOrderMark(all);
  text = std::move(all);
  return {};
}
