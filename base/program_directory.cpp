#include <unistd.h>

#include "base/nstring.h"

NString NString::GetProgramDirectory() {
  char buffer[1000];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  if (n <= 0) return NString("/");
  std::string path(buffer, static_cast<size_t>(n));
  size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return NString("/");
  return NString(path.substr(0, slash + 1));
}
