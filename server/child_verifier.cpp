#include "server/child_verifier.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

constexpr rlim_t kChildMemoryBytes = rlim_t{1} << 30;
// AddressSanitizer reserves terabytes of address space for its shadow: a
// sanitizer build cannot bound its children's memory this way.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kBoundMemory = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kBoundMemory = false;
#else
constexpr bool kBoundMemory = true;
#endif
#else
constexpr bool kBoundMemory = true;
#endif
constexpr size_t kMaxVerdictBytes = 64 * 1024;
constexpr int kExecFailed = 127;

// Both ends of a pipe, closed when it goes.
struct Pipe {
  int fd[2] = {-1, -1};
  Pipe() {
    if (pipe2(fd, O_CLOEXEC) != 0) fd[0] = fd[1] = -1;
  }
  ~Pipe() {
    Close(0);
    Close(1);
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  bool Ok() const { return fd[0] >= 0; }
  void Close(int end) {
    if (fd[end] >= 0) ::close(fd[end]);
    fd[end] = -1;
  }
};

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

ChildVerifier::ChildVerifier(std::string program, int64_t maxFrames, int maxSeconds)
    : program_(std::move(program)), maxFrames_(std::to_string(maxFrames)), maxSeconds_(maxSeconds) {}

Verdict ChildVerifier::Verify(const std::string& file) {
  using Kind = Verdict::Kind;
  Pipe in, out;
  if (!in.Ok() || !out.Ok()) return Verdict::Fail(Kind::Unavailable, "cannot start a verifier");
  // Everything the child needs is made before the fork: after it, only calls
  // that are safe in a copy of a threaded process.
  const char* argv[] = {program_.c_str(), "--verify", "--max-frames", maxFrames_.c_str(), nullptr};
  rlimit cpu{static_cast<rlim_t>(maxSeconds_), static_cast<rlim_t>(maxSeconds_) + 1};
  rlimit memory{kChildMemoryBytes, kChildMemoryBytes};
  pid_t pid = fork();
  if (pid < 0) return Verdict::Fail(Kind::Unavailable, "cannot start a verifier");
  if (pid == 0) {
    dup2(in.fd[0], STDIN_FILENO);
    dup2(out.fd[1], STDOUT_FILENO);
    setrlimit(RLIMIT_CPU, &cpu);
    if (kBoundMemory) setrlimit(RLIMIT_AS, &memory);
    execv(argv[0], const_cast<char* const*>(argv));
    _exit(kExecFailed);
  }
  in.Close(0);
  out.Close(1);
  // The child reads the whole file before it starts, so this cannot wait on it.
  WriteAll(in.fd[1], file);
  in.Close(1);

  std::string verdict;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(maxSeconds_ + 1);
  bool late = false;
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      late = true;
      break;
    }
    pollfd p{out.fd[0], POLLIN, 0};
    int ready = ::poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) continue;
    char buffer[4096];
    ssize_t n = ::read(out.fd[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    verdict.append(buffer, static_cast<size_t>(n));
    if (verdict.size() > kMaxVerdictBytes) break;
  }
  if (late) ::kill(pid, SIGKILL);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (late) return Verdict::Fail(Kind::Refused, "the replay took longer than " + std::to_string(maxSeconds_) + " s");
  if (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU) {
    return Verdict::Fail(Kind::Refused, "the replay took longer than " + std::to_string(maxSeconds_) + " s");
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == kExecFailed) {
    return Verdict::Fail(Kind::Unavailable, "cannot start a verifier");
  }
  // Whatever the file makes the game do, it does again: a replay that brings
  // its child down is the file's fault, not a passing one.
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return Verdict::Fail(Kind::Refused, "the replay could not be played to its end");
  }
  return VerdictFromJson(verdict);
}
