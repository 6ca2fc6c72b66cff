#include "platform/web/web_keymap.h"

#include <string>
#include <string_view>

#include "input/key_names.h"

namespace {

// Browser names of the keys whose input-file name differs.
constexpr std::pair<std::string_view, std::string_view> kNames[] = {
    {"Escape", "ESCAPE"},           {"Minus", "MINUS"},
    {"Backspace", "BACKSPACE"},     {"Enter", "RETURN"},
    {"ControlLeft", "LCTRL"},       {"ControlRight", "RCTRL"},
    {"ShiftLeft", "LSHIFT"},        {"ShiftRight", "RSHIFT"},
    {"Period", "PERIOD"},           {"Space", "SPACE"},
    {"NumpadSubtract", "KP_MINUS"}, {"NumpadDecimal", "KP_PERIOD"},
    {"NumpadEnter", "KP_ENTER"},    {"ArrowUp", "UP"},
    {"ArrowDown", "DOWN"},          {"ArrowLeft", "LEFT"},
    {"ArrowRight", "RIGHT"},        {"F1", "F1"},
};

bool IsDigit(std::string_view s) { return s.size() == 1 && s[0] >= '0' && s[0] <= '9'; }

}  // namespace

int GameKeyFromDomCode(const char* code) {
  std::string_view dom(code);
  std::string name;
  // "KeyA" is A, "Digit1" is 1, "Numpad1" is KP_1: the names input files use.
  if (dom.size() == 4 && dom.starts_with("Key") && dom[3] >= 'A' && dom[3] <= 'Z') {
    name = dom.substr(3);
  } else if (dom.starts_with("Digit") && IsDigit(dom.substr(5))) {
    name = dom.substr(5);
  } else if (dom.starts_with("Numpad") && IsDigit(dom.substr(6))) {
    name = "KP_" + std::string(dom.substr(6));
  } else {
    for (const auto& [browser, ours] : kNames) {
      if (browser == dom) name = ours;
    }
  }
  if (name.empty()) return -1;
  return KeyCodeFromName(name).value_or(-1);
}

int GameKeyFromDomKey(const char* key, const char* code) {
  std::string_view typed(key);
  bool keypad = std::string_view(code).starts_with("Numpad");
  if (typed.size() == 1 && !keypad) {
    char c = typed[0];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return KeyCodeFromName(std::string(1, c)).value_or(-1);
  }
  return GameKeyFromDomCode(code);
}
