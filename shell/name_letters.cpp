#include "shell/name_letters.h"

#include "input/typed_text.h"

bool IsName(std::string_view name) {
  return name.size() <= kNameLength && name.find_first_not_of(kNameLetters) == std::string_view::npos;
}

int KeyTyping(char c) {
  constexpr int kKeyCodes = 256;
  for (int code = 0; code < kKeyCodes; ++code) {
    if (TypedCharFromKeyCode(code) == static_cast<unsigned char>(c)) return code;
  }
  return -1;
}
