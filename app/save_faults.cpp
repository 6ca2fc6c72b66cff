#include "app/save_faults.h"

#include <array>
#include <cerrno>

namespace {

constexpr std::chrono::milliseconds kDefaultLockWait{5000};

std::array<int, static_cast<size_t>(SaveStep::Count)> faults{};
std::chrono::milliseconds lockWait = kDefaultLockWait;

}  // namespace

void InjectSaveFault(SaveStep step, int error) { faults[static_cast<size_t>(step)] = error; }

void ClearSaveFaults() {
  faults.fill(0);
  lockWait = kDefaultLockWait;
}

bool SaveFault(SaveStep step) {
  int error = faults[static_cast<size_t>(step)];
  if (error != 0) errno = error;
  return error != 0;
}

std::chrono::milliseconds SaveLockWait() { return lockWait; }
void SetSaveLockWait(std::chrono::milliseconds wait) { lockWait = wait; }
