// Input files of any text parse or are refused with a message naming the
// line; what parses formats back to a file that parses the same, the run's
// header, its checks and the version too.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  auto script = ParseInputScript(std::string(reinterpret_cast<const char*>(data), size), error);
  if (!script) {
    if (error.find("line ") == std::string::npos) __builtin_trap();
    return 0;
  }
  std::string text = FormatInputScript(*script);
  auto again = ParseInputScript(text, error);
  if (!again || FormatInputScript(*again) != text) __builtin_trap();
  if (again->events.size() != script->events.size() || again->checks.size() != script->checks.size()) __builtin_trap();
  if (script->run.has_value() != again->run.has_value()) __builtin_trap();
  return 0;
}
