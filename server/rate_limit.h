#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>

// Submissions a client address may make: a bucket of `burst` that refills at
// `perMinute`. Addresses whose buckets are full again are forgotten, and at
// most kMaxAddresses are remembered at once (beyond that, everyone waits).
class RateLimit {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr size_t kMaxAddresses = 100000;

  RateLimit(double perMinute, double burst) : perMinute_(perMinute), burst_(burst) {}
  // Takes one submission for the address; 0 when allowed, else the whole
  // seconds to wait before the next one is.
  int Take(const std::string& address, Clock::time_point now = Clock::now());

 private:
  struct Bucket {
    double tokens = 0;
    Clock::time_point at;
  };
  double Refilled(const Bucket& bucket, Clock::time_point now) const;
  void Forget(Clock::time_point now);

  double perMinute_;
  double burst_;
  std::mutex lock_;
  std::map<std::string, Bucket> buckets_;
};
