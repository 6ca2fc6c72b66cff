#pragma once

// The compass step (0..31; 0 right, 8 up, 16 left, 24 down) nearest to the
// direction from point 1 to point 2 in screen coordinates (y downwards).
// Two equal points give 0.
int DirectionTo(int x1, int y1, int x2, int y2);

// Keeps a direction inside the downward cone 24 - spread / 2 .. 24 + spread / 2.
// Anything pointing right or upwards-right (below 8) swings to the cone's
// right edge, everything else to the nearer edge.
int ClampDownward(int direction, int spread);
