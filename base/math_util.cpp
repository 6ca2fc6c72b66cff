#include "base/math_util.h"

#include <cmath>
#include <numbers>

std::array<float, 32> sinTable{};
std::array<float, 32> cosTable{};

int RoundToInt(double x) {
  // Positions pushed beyond the int range by a modified script stick at its
  // ends instead of overflowing.
  constexpr double kHighest = 2147483647.0;
  constexpr double kLowest = -2147483648.0;
  double rounded = x >= 0 ? x + 0.5 : x - 0.5;
  if (!(rounded < kHighest)) return 2147483647;
  if (!(rounded > kLowest)) return -2147483647 - 1;
  return static_cast<int>(rounded);
}

void FillDirectionTables() {
  for (int i = 0; i < 32; ++i) {
    double angle = i * std::numbers::pi / 16.0;
    sinTable[static_cast<size_t>(i)] = static_cast<float>(RoundToInt(std::sin(angle) * 1000.0)) / 1000.0f;
    cosTable[static_cast<size_t>(i)] = static_cast<float>(RoundToInt(std::cos(angle) * 1000.0)) / 1000.0f;
  }
}

namespace {
uint32_t randomState = 1;
}

void SeedRandom(uint32_t seed) { randomState = seed; }

uint32_t RandomState() { return randomState; }

int Random(int n) {
  randomState = randomState * 214013u + 2531011u;
  int value = static_cast<int>((randomState >> 16) & 0x7FFF);
  return value % n;
}
