#pragma once

#include <optional>
#include <string_view>

// Names of the keys that input files and recordings use (ESCAPE, SPACE, A,
// KP_ENTER, ...), mapped to and from the game's key codes.
std::optional<int> KeyCodeFromName(std::string_view name);
// The name of a key code, or an empty view when the code has none.
std::string_view KeyNameFromCode(int code);
// The key of a letter from A to Z (upper case).
int LetterKey(char letter);
