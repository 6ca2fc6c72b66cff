#include "server/verify_queue.h"

VerifyQueue::VerifyQueue(RunVerifier& verifier, int workers, size_t capacity)
    : verifier_(verifier), capacity_(capacity) {
  for (int i = 0; i < workers; ++i) workers_.emplace_back([this] { Work(); });
}

VerifyQueue::~VerifyQueue() { Drain(); }

std::optional<std::future<Verdict>> VerifyQueue::Submit(std::string file) {
  std::lock_guard hold(lock_);
  if (closed_ || jobs_.size() >= capacity_) return std::nullopt;
  jobs_.push_back(Job{std::move(file), {}});
  std::future<Verdict> verdict = jobs_.back().verdict.get_future();
  ready_.notify_one();
  return verdict;
}

void VerifyQueue::Drain() {
  {
    std::lock_guard hold(lock_);
    closed_ = true;
  }
  ready_.notify_all();
  for (std::thread& worker : workers_) {
    if (worker.joinable()) worker.join();
  }
}

void VerifyQueue::Work() {
  for (;;) {
    Job job;
    {
      std::unique_lock hold(lock_);
      ready_.wait(hold, [this] { return closed_ || !jobs_.empty(); });
      // Closed but not empty: what was taken is still verified.
      if (jobs_.empty()) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job.verdict.set_value(verifier_.Verify(job.file));
  }
}
