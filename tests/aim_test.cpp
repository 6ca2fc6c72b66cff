#include "script/aim.h"

#include <gtest/gtest.h>

#include <climits>

TEST(DirectionTo, PicksTheNearestCompassStep) {
  struct Case {
    int x2, y2, expected;
  } cases[] = {
      {10, 0, 0},
      {0, -10, 8},
      {-10, 0, 16},
      {0, 10, 24},
      {10, -10, 4},
      {-10, -10, 12},
      {-10, 10, 20},
      {10, 10, 28},
      {100, -1, 0},
      {100, 1, 0},
      // 5.625 degrees is the edge between 0 and 1: just below and just above.
      {1000, -98, 0},
      {1000, -99, 1},
      {1000, 98, 0},
      {1000, 99, 31},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DirectionTo(0, 0, c.x2, c.y2), c.expected) << c.x2 << "," << c.y2;
  }
  EXPECT_EQ(DirectionTo(5, 5, 5, 5), 0);
  EXPECT_EQ(DirectionTo(100, 200, 100, 50), 8);  // not at the origin
}

TEST(DirectionTo, FarApartPointsDoNotOverflow) {
  EXPECT_EQ(DirectionTo(INT_MIN, 0, INT_MAX, 0), 0);
  EXPECT_EQ(DirectionTo(0, INT_MIN, 0, INT_MAX), 24);
}

TEST(ClampDownward, KeepsDirectionsInTheDownwardCone) {
  int expected7[32];
  for (int d = 0; d < 32; ++d) expected7[d] = d < 8 ? 27 : d < 21 ? 21 : d > 27 ? 27 : d;
  for (int d = 0; d < 32; ++d) EXPECT_EQ(ClampDownward(d, 7), expected7[d]) << d;
  EXPECT_EQ(ClampDownward(26, 2), 25);
  EXPECT_EQ(ClampDownward(22, 2), 23);
  EXPECT_EQ(ClampDownward(24, 1), 24);
  EXPECT_EQ(ClampDownward(3, 1), 24);
}
