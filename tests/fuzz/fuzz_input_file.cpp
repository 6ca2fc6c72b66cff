// Input files of any text parse or are refused with a message naming the
// line; what parses formats back to lines that parse the same.
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
  std::string text;
  for (const ScriptedEvent& e : script->events) text += FormatScriptedEvent(e) + "\n";
  auto again = ParseInputScript(text, error);
  if (!again || again->events.size() != script->events.size()) __builtin_trap();
  return 0;
}
