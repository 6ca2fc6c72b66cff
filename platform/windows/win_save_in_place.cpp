#include "platform/windows/win_save_in_place.h"

#include "app/save_faults.h"
#include "platform/windows/win_files.h"
#include "platform/windows/win_text.h"

namespace fs = std::filesystem;

namespace {

constexpr const wchar_t* kCopyMark = L".old-";
constexpr DWORD kReadChunk = 65536;

bool ReadAll(HANDLE file, std::string& text) {
  text.clear();
  for (;;) {
    size_t at = text.size();
    text.resize(at + kReadChunk);
    DWORD n = 0;
    if (!ReadFile(file, text.data() + at, kReadChunk, &n, nullptr)) return false;
    text.resize(at + n);
    if (n == 0) return true;
  }
}

Handle OpenForWriting(const fs::path& file) {
  return OpenShared(file.wstring(), GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
}

}  // namespace

unsigned LinksOf(const fs::path& file) {
  Handle h = OpenShared(file.wstring(), 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!h || !GetFileInformationByHandle(h.get(), &info)) return 1;
  return info.nNumberOfLinks;
}

FileOutcome SaveInPlace(const fs::path& target, std::string_view bytes) {
  if (SaveFault(SaveStep::Open)) return FailedWith(ERROR_ACCESS_DENIED);
  Handle file = OpenForWriting(target);
  std::string old;
  if (!file || !ReadAll(file.get(), old)) return FailedWith(GetLastError());
  TempFile copy(SideFileFor(target, kCopyMark));
  if (DWORD error = copy.Write(old); error != ERROR_SUCCESS) return FailedWith(error);
  DWORD error = SaveFault(SaveStep::Write) ? ERROR_DISK_FULL : WriteWhole(file.get(), bytes);
  if (error == ERROR_SUCCESS) return {};  // the copy goes
  if (WriteWhole(file.get(), old) == ERROR_SUCCESS) return FailedWith(error);
  copy.Keep();
  return Failed(FailedWith(error).reason + "; its old contents are kept in " + Narrow(copy.Path()));
}

void RestoreLeftCopies(const fs::path& target) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(L".");
  for (const fs::path& left : LeftFiles(folder, target.filename().wstring(), kCopyMark)) {
    Handle from = OpenShared(left.wstring(), GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    std::string old;
    if (!from || !ReadAll(from.get(), old)) continue;
    from.reset();
    Handle file = OpenForWriting(target);
    if (file && WriteWhole(file.get(), old) == ERROR_SUCCESS) DeleteFileW(left.c_str());
  }
}
