#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "server/verdict.h"

// Runs waiting for a verifier, and the threads that verify them. Bounded: a
// full queue takes nothing more, so a burst is answered 503 at once rather
// than piling up behind the workers.
class VerifyQueue {
 public:
  VerifyQueue(RunVerifier& verifier, int workers, size_t capacity);
  ~VerifyQueue();
  VerifyQueue(const VerifyQueue&) = delete;
  VerifyQueue& operator=(const VerifyQueue&) = delete;

  // The verdict to come, or nothing when the queue is full or closed.
  std::optional<std::future<Verdict>> Submit(std::string file);
  // Takes nothing more, lets the workers finish every run already taken and
  // waits for them.
  void Drain();

 private:
  struct Job {
    std::string file;
    std::promise<Verdict> verdict;
  };
  void Work();

  RunVerifier& verifier_;
  size_t capacity_;
  std::mutex lock_;
  std::condition_variable ready_;
  std::deque<Job> jobs_;
  bool closed_ = false;
  std::vector<std::thread> workers_;
};
