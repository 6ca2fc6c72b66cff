#include "script/aim.h"

#include <cmath>
#include <numbers>

int DirectionTo(int x1, int y1, int x2, int y2) {
  constexpr double kTurn = 2.0 * std::numbers::pi;
  constexpr double kStep = std::numbers::pi / 16.0;
  // Differences in double: far-apart points cannot overflow an int.
  double dy = static_cast<double>(y1) - static_cast<double>(y2);
  double dx = static_cast<double>(x2) - static_cast<double>(x1);
  double angle = std::atan2(dy, dx);
  if (angle < 0.0) angle += kTurn;
  // Half a step more, so that truncation picks the nearest step.
  angle += kStep / 2.0;
  if (angle >= kTurn) angle -= kTurn;
  int step = static_cast<int>(angle / kStep);
  return step > 31 ? 31 : step;
}

int ClampDownward(int direction, int spread) {
  constexpr int kDown = 24;
  constexpr int kUp = 8;
  int half = spread / 2;
  if (direction < kUp) return kDown + half;
  if (direction < kDown - half) return kDown - half;
  if (direction > kDown + half) return kDown + half;
  return direction;
}
