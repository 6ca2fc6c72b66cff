#include "base/math_util.h"

#include <cmath>
#include <numbers>

std::array<float, 32> sinTable{};
std::array<float, 32> cosTable{};

int RoundToInt(double x) {
  return x >= 0 ? static_cast<int>(x + 0.5) : static_cast<int>(x - 0.5);
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

int Random(int n) {
  randomState = randomState * 214013u + 2531011u;
  int value = static_cast<int>((randomState >> 16) & 0x7FFF);
  return value % n;
}
