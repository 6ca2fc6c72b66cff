// A settings file of any bytes reads by the rules and never crashes; the
// text a save writes from it reads back to the same settings without a
// complaint, and keeps every comment and every line without a value.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "shell/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> complaints;
  Settings read = ParseSettings(text, complaints);
  std::string saved = FormatSettings(read, text);
  std::vector<std::string> again;
  if (!(ParseSettings(saved, again) == read) || !again.empty()) __builtin_trap();
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    bool comment = line.starts_with("#") || line.find('=') == std::string::npos;
    if (comment && saved.find(line + "\n") == std::string::npos) __builtin_trap();
  }
  return 0;
}
