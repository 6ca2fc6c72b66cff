#include "input/typed_text.h"

#include <array>
#include <cstddef>

#include "input/input.h"

namespace {

constexpr int kBackspace = 8;
constexpr int kLineFeed = 10;

constexpr std::array<int, 256> MakeTable() {
  std::array<int, 256> t{};
  for (int& c : t) c = -1;
  // The main row, then the keypad, each "1" to "9" then "0".
  constexpr int kMainRow[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  constexpr int kKeypad[] = {79, 80, 81, 75, 76, 77, 71, 72, 73, 82};
  for (int i = 0; i < 10; ++i) {
    t[kMainRow[i]] = "1234567890"[i];
    t[kKeypad[i]] = "1234567890"[i];
  }
  t[12] = t[74] = '-';
  t[52] = t[83] = '.';
  t[key::kSpace] = ' ';
  t[key::kBackspace] = t[key::kLeft] = kBackspace;  // the Left arrow rubs out too
  t[key::kEnter] = t[key::kKeypadEnter] = kLineFeed;
  // Letters by keyboard row: Q..P, A..L, Z..M.
  constexpr const char* kRows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  constexpr int kRowStart[] = {16, 30, 44};
  for (int row = 0; row < 3; ++row) {
    for (int i = 0; kRows[row][i]; ++i) t[kRowStart[row] + i] = kRows[row][i];
  }
  return t;
}

constexpr std::array<int, 256> kTable = MakeTable();

}  // namespace

int TypedCharFromKeyCode(int code) {
  if (code < 0 || code > 255) return -1;
  return kTable[static_cast<std::size_t>(code)];
}
