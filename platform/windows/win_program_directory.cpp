#include <windows.h>

#include <string>

#include "base/nstring.h"
#include "platform/windows/win_text.h"

// The folder of velloria.exe, with forward slashes (which Windows takes as
// well) and one at the end, as on other systems.
NString NString::GetProgramDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return NString("./");
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  std::string narrow = Narrow(path);
  for (char& c : narrow) {
    if (c == '\\') c = '/';
  }
  return NString(narrow.substr(0, narrow.rfind('/') + 1));
}
