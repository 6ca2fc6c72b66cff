#include "server/hall_name.h"

bool IsHallName(std::string_view name) {
  if (name.empty() || name.size() > static_cast<size_t>(kHallNameLimit)) return false;
  // A name of spaces alone would be an empty row in the tables.
  if (name.find_first_not_of(' ') == std::string_view::npos) return false;
  for (char c : name) {
    bool typable = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == ' ';
    if (!typable) return false;
  }
  return true;
}
