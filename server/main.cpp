#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>

#include "server/child_verifier.h"
#include "server/hall_options.h"
#include "server/hall_server.h"
#include "server/pg_store.h"
#include "server/sqlite_store.h"
#include "server/verify_child.h"
#include "server/verify_queue.h"

namespace {

std::filesystem::path ThisProgram() {
  std::error_code ec;
  return std::filesystem::read_symlink("/proc/self/exe", ec);
}

std::unique_ptr<RunStore> OpenStore(const HallOptions& options, std::string& error) {
  if (!options.postgres.empty()) return PgStore::Open(options.postgres, error);
  return SqliteStore::Open(options.db, error);
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  std::optional<HallOptions> options = ParseHallOptions(argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "velloria-hall: %s\n", error.c_str());
    return 2;
  }
  if (options->help) {
    std::fputs(HallHelpText().c_str(), stdout);
    return 0;
  }
  if (options->version) {
    std::printf("velloria-hall %s\n", VELLORIA_VERSION);
    return 0;
  }
  HallConfig config;
  if (options->verify) return RunVerifyChild(options->maxFrames, config.maxReplayBytes);

  std::unique_ptr<RunStore> store = OpenStore(*options, error);
  if (!store) {
    std::fprintf(stderr, "velloria-hall: %s\n", error.c_str());
    return 1;
  }
  if (options->hide) {
    if (!store->Hide(*options->hide)) {
      std::fprintf(stderr, "velloria-hall: there is no run %lld\n", static_cast<long long>(*options->hide));
      return 1;
    }
    std::printf("run %lld is off the lists\n", static_cast<long long>(*options->hide));
    return 0;
  }

  // Signals are taken by one thread with sigwait; a client gone mid-answer
  // is an error on its socket, not a signal.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  std::filesystem::path program = ThisProgram();
  config.site = options->site;
  config.page = options->page.empty() ? program.parent_path() / "hall-page" : std::filesystem::path(options->page);
  config.submitsPerMinute = options->submitsPerMinute;
  config.submitBurst = options->submitBurst;
  int workers =
      options->workers ? options->workers : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  ChildVerifier verifier(program.string(), options->maxFrames, options->maxSeconds);
  VerifyQueue queue(verifier, workers, static_cast<size_t>(options->queue));
  HallServer server(config, *store, queue);
  if (!server.Bind(options->listen, error)) {
    std::fprintf(stderr, "velloria-hall: %s\n", error.c_str());
    return 1;
  }
  std::printf("velloria-hall: listening on port %d with %d verifiers\n", server.Port(), workers);
  std::fflush(stdout);

  // SIGTERM: no new runs, the ones taken verified and answered, then out.
  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.StopTakingRuns();
    queue.Drain();
    server.WaitForSubmissions();
    server.Stop();
  });
  server.Run();
  // Run ends early only when it could not serve: let the stopper go too.
  ::kill(::getpid(), SIGTERM);
  stopper.join();
  std::printf("velloria-hall: stopped\n");
  return 0;
}
