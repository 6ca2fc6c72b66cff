// One copy of the game per user session: a named mutex, which Windows drops
// when the process ends, so it never goes stale after a crash.
#include <windows.h>

#include <cstdint>

#include "app/instance_lock.h"

namespace {

constexpr const wchar_t* kMutexName = L"Local\\KorvaGames.Velloria";

// Kernel handles fit in 32 bits on 64-bit Windows (so that 32-bit programs
// can share them), so the lock's int keeps the mutex's handle.
HANDLE AsHandle(int value) { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(value)); }

}  // namespace

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) CloseHandle(AsHandle(fd_));
}

bool InstanceLock::Acquire() {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
  if (!mutex) return true;  // no lock to be had: the game runs anyway
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return false;
  }
  fd_ = static_cast<int>(reinterpret_cast<std::intptr_t>(mutex));
  return true;
}
