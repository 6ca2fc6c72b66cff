#pragma once

// What the saves of the player's files share on Windows: handles closed by
// scope, the system's errors in a message's words, whole writes through to
// the disk, and the files left beside a file by runs that were killed.
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/player_file.h"

struct HandleCloser {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

// CreateFileW, shared with other readers, writers and deleters; null on
// failure, GetLastError() telling why.
Handle OpenShared(const std::wstring& path, DWORD access, DWORD disposition, DWORD flags);

FileOutcome Failed(std::string reason);
FileOutcome FailedWith(DWORD error);

// All of bytes written at the start of file, which is cut to their length
// and flushed to the disk; the error of the first failing call.
DWORD WriteWhole(HANDLE file, std::string_view bytes);

// A file of this process beside another: removed unless kept.
class TempFile {
 public:
  explicit TempFile(std::wstring path) : path_(std::move(path)) {}
  ~TempFile() {
    if (!kept_) DeleteFileW(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  // Writes bytes through to the disk; the error of the first failing call.
  DWORD Write(std::string_view bytes);
  const std::wstring& Path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  std::wstring path_;
  bool kept_ = false;
};

// "<name><mark><pid>": the name of this process's file beside name.
std::wstring SideFileFor(const std::filesystem::path& file, const wchar_t* mark);
// Files "<name><mark><pid>" in folder whose process no longer runs.
std::vector<std::filesystem::path> LeftFiles(const std::filesystem::path& folder, const std::wstring& name,
                                             const wchar_t* mark);
