#pragma once

#include <string>
#include <string_view>

// The program's text is UTF-8; Windows' wide functions take UTF-16. Bytes
// that are no UTF-8 become U+FFFD.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

// A wide environment variable as UTF-8; empty when unset.
std::string EnvironmentText(const wchar_t* name);
