#include "server/rate_limit.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kSecondsPerMinute = 60;

}  // namespace

double RateLimit::Refilled(const Bucket& bucket, Clock::time_point now) const {
  double seconds = std::chrono::duration<double>(now - bucket.at).count();
  return std::min(burst_, bucket.tokens + seconds * perMinute_ / kSecondsPerMinute);
}

void RateLimit::Forget(Clock::time_point now) {
  std::erase_if(buckets_, [&](const auto& entry) { return Refilled(entry.second, now) >= burst_; });
}

int RateLimit::Take(const std::string& address, Clock::time_point now) {
  std::lock_guard hold(lock_);
  auto it = buckets_.find(address);
  if (it == buckets_.end()) {
    if (buckets_.size() >= kMaxAddresses) Forget(now);
    if (buckets_.size() >= kMaxAddresses) return 1;
    it = buckets_.emplace(address, Bucket{burst_, now}).first;
  }
  Bucket& bucket = it->second;
  bucket.tokens = Refilled(bucket, now);
  bucket.at = now;
  if (bucket.tokens >= 1) {
    bucket.tokens -= 1;
    return 0;
  }
  double wait = (1 - bucket.tokens) * kSecondsPerMinute / perMinute_;
  return std::max(1, static_cast<int>(std::ceil(wait)));
}
