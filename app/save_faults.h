#pragma once

#include <chrono>

// A seam for tests: a step of the saves that follow fails with an error,
// as on a full disk, a broken device or a file system that refuses a call.
// Nothing is injected unless a test asks.
enum class SaveStep { Lock, Folder, Open, Attributes, Write, Sync, Rename, FolderSync, Count };

// error 0 lets the step run again.
void InjectSaveFault(SaveStep step, int error);
void ClearSaveFaults();
// True, with errno set, when a test made step fail.
bool SaveFault(SaveStep step);

// How long a save waits for another copy's save to end before it gives up
// and says so; tests that hold a lock themselves shorten it.
std::chrono::milliseconds SaveLockWait();
void SetSaveLockWait(std::chrono::milliseconds wait);
