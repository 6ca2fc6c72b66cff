#include "base/printable.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kFirstPrintable = 0x20;

// The length of the UTF-8 sequence at the start of text and its character;
// 0 when the bytes are no well-formed sequence.
size_t DecodeUtf8(std::string_view text, uint32_t& code) {
  const auto lead = static_cast<unsigned char>(text[0]);
  size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || text.size() < length) return 0;
  code = lead & (0x3F >> (length - 1));
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return 0;
    code = (code << 6) | (next & 0x3F);
  }
  // Overlong forms, surrogates and values past Unicode's last one.
  static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
  return length;
}

// Characters that show nothing or reorder what follows: C1 controls, the
// byte-order mark, zero-width and direction marks, line separators.
bool Invisible(uint32_t code) {
  return (code >= 0x80 && code <= 0x9F) || code == 0xAD || (code >= 0x200B && code <= 0x200F) ||
         (code >= 0x2028 && code <= 0x202E) || (code >= 0x2060 && code <= 0x206F) || code == 0xFEFF;
}

void AppendEscape(std::string& out, const char* format, uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, format, static_cast<unsigned>(value));
  out += text;
}

}  // namespace

std::string Printable(std::string_view text, size_t maxBytes) {
  std::string out;
  size_t at = 0;
  while (at < text.size() && out.size() < maxBytes) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte >= kFirstPrintable && byte < kDelete) {
      out += static_cast<char>(byte);
      ++at;
      continue;
    }
    uint32_t code = 0;
    size_t length = byte < kDelete ? 0 : DecodeUtf8(text.substr(at), code);
    if (length == 0) {
      AppendEscape(out, "\\x%02X", byte);
      ++at;
    } else if (Invisible(code)) {
      AppendEscape(out, "\\u{%04X}", code);
      at += length;
    } else {
      out.append(text.substr(at, length));
      at += length;
    }
  }
  if (at < text.size()) out += "... (" + std::to_string(text.size()) + " bytes)";
  return out;
}

std::string ErrorWords(int error) {
  std::string words = std::strerror(error);
  if (!words.empty()) words[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(words[0])));
  return words;
}
