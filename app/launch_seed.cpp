#include "app/launch_seed.h"

#include <chrono>
#include <random>

uint32_t LaunchSeed() {
  auto ticks = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  uint32_t clock = static_cast<uint32_t>(ticks) ^ static_cast<uint32_t>(ticks >> 32);
  return clock ^ std::random_device{}();
}
