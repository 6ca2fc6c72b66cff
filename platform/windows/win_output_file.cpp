// The output files' descriptors on Windows: the C runtime's, opened through
// the wide functions, in binary so a recording has the same bytes as on
// Linux, and only on a file on a disk (NUL, CON or a pipe are refused).
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>

#include "base/output_fd.h"
#include "base/printable.h"
#include "platform/windows/win_text.h"

int OpenOutputFd(const std::string& path, std::string& reason) {
  const std::wstring wide = Widen(path);
  DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    reason = "a folder, not a file";
    return -1;
  }
  int fd = _wopen(wide.c_str(), _O_WRONLY | _O_CREAT | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
  if (fd < 0) {
    reason = ErrorWords(errno);
    return -1;
  }
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    reason = "not a regular file";
  } else if (_chsize_s(fd, 0) != 0) {
    reason = ErrorWords(errno);
  } else {
    return fd;
  }
  _close(fd);
  return -1;
}

long WriteOutputFd(int fd, std::string_view bytes) {
  // _write takes an unsigned count; the buffer is flushed in pieces far below it.
  return _write(fd, bytes.data(), static_cast<unsigned>(bytes.size()));
}

int CloseOutputFd(int fd) { return _close(fd); }
