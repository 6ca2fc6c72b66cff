#pragma once

// One copy of the game per user: a lock on a file in the user's runtime
// directory. The kernel drops it when the process ends, so it never goes
// stale after a crash.
class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // False when another copy holds the lock. When the lock file cannot be
  // made at all, the game runs anyway.
  bool Acquire();

 private:
  int fd_ = -1;
};
