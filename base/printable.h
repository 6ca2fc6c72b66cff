#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text from outside (a file's line, a file's name) as a message may show it:
// control bytes, bytes that are no UTF-8 and characters that print nothing
// or turn the line around become \xNN or \u{NNNN}, so a NUL cannot cut a
// message short nor an escape sequence reach the terminal; beyond maxBytes
// the rest is left out and its length told ("... (52428800 bytes)").
constexpr size_t kPrintableBytes = 120;
// A path may be long and still be one the player gave.
constexpr size_t kPrintablePath = 4096;
std::string Printable(std::string_view text, size_t maxBytes = kPrintableBytes);
inline std::string PrintablePath(std::string_view path) { return Printable(path, kPrintablePath); }

// The system's words for an errno, lower case for the middle of a message.
std::string ErrorWords(int error);
