#pragma once

#include <string_view>

// What a name takes: the characters the game's name entry keeps (any other
// key types nothing), at most as many as a ranking line holds.
constexpr std::string_view kNameLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-. ";
constexpr int kNameLength = 15;

bool IsName(std::string_view name);
// The key that types c into the game's entry; -1 when none does. Backspace
// and Enter are '\b' and '\n'.
int KeyTyping(char c);
