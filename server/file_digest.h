#pragma once

#include <string>
#include <string_view>

// SHA-256 of a submitted file in lower-case hex: the same bytes sent again
// are the same run.
std::string FileDigest(std::string_view bytes);
