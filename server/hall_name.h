#pragma once

#include <string_view>

// A name in the hall takes what the game's name entry takes: 1 to 15
// capitals, digits, '-', '.' and spaces.
constexpr int kHallNameLimit = 15;

bool IsHallName(std::string_view name);
