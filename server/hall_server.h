#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "server/rate_limit.h"
#include "server/site_files.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

class RunStore;
class VerifyQueue;

struct HallConfig {
  std::filesystem::path site;  // the game's page, served under /play/
  std::filesystem::path page;  // the hall's own page, served at /
  size_t maxReplayBytes = 1 << 20;
  size_t maxBodyBytes = 3 << 20;  // a replay's newlines and quotes double in JSON
  double submitsPerMinute = 6;
  double submitBurst = 10;
  int ioTimeoutSeconds = 10;  // a client that sends or reads no byte for this long is dropped
  int httpThreads = 16;
  int retryAfterSeconds = 5;  // when the verifiers are busy or the server is stopping
};

// The HTTP side: reads and bounds each request, hands a run to the verifiers,
// keeps what they rank and answers with a status and a reason.
class HallServer {
 public:
  HallServer(HallConfig config, RunStore& store, VerifyQueue& queue);
  ~HallServer();
  HallServer(const HallServer&) = delete;
  HallServer& operator=(const HallServer&) = delete;

  // Binds "HOST:PORT" (port 0: any free one); false with error set.
  bool Bind(const std::string& listen, std::string& error);
  int Port() const { return port_; }
  // Serves until Stop.
  void Run();
  // New runs are answered 503 from now on; everything else goes on.
  void StopTakingRuns() { stopping_ = true; }
  // Waits until no submission is being answered.
  void WaitForSubmissions();
  void Stop();

 private:
  void Routes();
  void Submit(const httplib::Request& req, httplib::Response& res);
  void ListRuns(const httplib::Request& req, httplib::Response& res);
  void OneRun(const httplib::Request& req, httplib::Response& res);
  void RunFile(const httplib::Request& req, httplib::Response& res);
  void ServeFile(const SiteFiles& files, const std::string& relative, httplib::Response& res);

  HallConfig config_;
  RunStore& store_;
  VerifyQueue& queue_;
  SiteFiles site_;
  SiteFiles page_;
  RateLimit submits_;
  std::unique_ptr<httplib::Server> http_;
  std::atomic<bool> stopping_{false};
  std::mutex answeringLock_;
  std::condition_variable answered_;
  int answering_ = 0;
  int port_ = 0;
};
