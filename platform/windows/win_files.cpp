#include "platform/windows/win_files.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace {

constexpr DWORD kWriteChunk = 65536;

bool ProcessRuns(DWORD id) {
  Handle process(OpenProcess(SYNCHRONIZE, FALSE, id));
  return process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

}  // namespace

Handle OpenShared(const std::wstring& path, DWORD access, DWORD disposition, DWORD flags) {
  HANDLE h = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         disposition, flags, nullptr);
  return Handle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

FileOutcome Failed(std::string reason) { return {FileOutcome::Status::Failed, std::move(reason)}; }

FileOutcome FailedWith(DWORD error) {
  switch (error) {
    case ERROR_ACCESS_DENIED:
      return Failed("access denied");
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return Failed("no space left on device");
    case ERROR_WRITE_PROTECT:
      return Failed("read-only disk");
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return Failed("in use by another program");
    default:
      return Failed("Windows error " + std::to_string(error));
  }
}

DWORD WriteWhole(HANDLE file, std::string_view bytes) {
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return GetLastError();
  while (!bytes.empty()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), kWriteChunk));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return GetLastError();
    bytes.remove_prefix(written);
  }
  if (!SetEndOfFile(file) || !FlushFileBuffers(file)) return GetLastError();
  return ERROR_SUCCESS;
}

DWORD TempFile::Write(std::string_view bytes) {
  Handle h(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
  if (h.get() == INVALID_HANDLE_VALUE) {
    h.release();
    return GetLastError();
  }
  return WriteWhole(h.get(), bytes);
}

std::wstring SideFileFor(const fs::path& file, const wchar_t* mark) {
  return file.wstring() + mark + std::to_wstring(GetCurrentProcessId());
}

std::vector<fs::path> LeftFiles(const fs::path& folder, const std::wstring& name, const wchar_t* mark) {
  const std::wstring prefix = name + mark;
  std::vector<fs::path> left;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::wstring entry = it->path().filename().wstring();
    if (entry.rfind(prefix, 0) != 0) continue;
    std::wstring digits = entry.substr(prefix.size());
    if (digits.empty() || digits.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    DWORD id = static_cast<DWORD>(std::wcstoul(digits.c_str(), nullptr, 10));
    if (id != GetCurrentProcessId() && !ProcessRuns(id)) left.push_back(it->path());
  }
  return left;
}
