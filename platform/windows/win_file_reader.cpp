// Reading a named file on Windows: only a file on a disk (a pipe, a
// console or a device name such as NUL or COM1 is refused before a byte is
// read), under its kind's size cap, through the wide functions.
#include <windows.h>

#include <cerrno>
#include <memory>

#include "app/file_reader.h"
#include "platform/windows/win_text.h"

namespace {

constexpr DWORD kReadChunk = 65536;

struct HandleCloser {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

// The errno the messages are worded from.
int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
      return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EBUSY;
    default:
      return EIO;
  }
}

FileRead System(DWORD error) { return {FileRead::Problem::System, "", 0, ErrnoOf(error)}; }

const char* KindOfHandle(DWORD type) {
  if (type == FILE_TYPE_PIPE) return "a FIFO";
  if (type == FILE_TYPE_CHAR) return "a device";
  return "neither a file nor a folder";
}

}  // namespace

FileRead ReadFileOfKind(const std::string& path, const FileKind& kind, std::string& text) {
  const std::wstring wide = Widen(path);
  DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    DWORD error = GetLastError();
    bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return {missing ? FileRead::Problem::Missing : FileRead::Problem::System, "", 0, ErrnoOf(error)};
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return {FileRead::Problem::NotRegular, "a folder"};
  HANDLE opened = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return System(GetLastError());
  Handle file(opened);
  if (DWORD type = GetFileType(file.get()); type != FILE_TYPE_DISK) {
    return {FileRead::Problem::NotRegular, KindOfHandle(type)};
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return System(GetLastError());
  if (static_cast<uint64_t>(size.QuadPart) > kind.maxBytes) {
    return {FileRead::Problem::TooLarge, "", static_cast<uint64_t>(size.QuadPart)};
  }
  std::string all;
  all.reserve(static_cast<size_t>(size.QuadPart) + kReadChunk);
  for (;;) {
    size_t at = all.size();
    all.resize(at + kReadChunk);
    DWORD n = 0;
    if (!ReadFile(file.get(), all.data() + at, kReadChunk, &n, nullptr)) return System(GetLastError());
    all.resize(at + n);
    if (n == 0) break;
    // A file that grows while it is read is refused once past the cap.
    if (all.size() > kind.maxBytes) return {FileRead::Problem::TooLarge, "", all.size()};
  }
  DropByteOrderMark(all);
  text = std::move(all);
  return {};
}
