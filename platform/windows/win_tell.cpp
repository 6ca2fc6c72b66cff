#include <windows.h>

#include "platform/sdl_platform.h"
#include "platform/windows/win_text.h"

namespace {

// Started from a console or a script, the program has somewhere to write;
// started from the desktop it has nothing (a GUI program gets no handles).
bool HasStandardError() {
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  return error && error != INVALID_HANDLE_VALUE && GetFileType(error) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void TellWithoutTerminal(const char* text) {
  if (HasStandardError()) return;
  MessageBoxW(nullptr, Widen(text).c_str(), L"Velloria", MB_OK | MB_ICONINFORMATION);
}
