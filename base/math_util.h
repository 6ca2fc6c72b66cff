#pragma once

#include <array>
#include <cstdint>

// The compass: 32 steps of 11.25 degrees counted anticlockwise on screen,
// 0 right, 8 up, 16 left, 24 down. Entries hold exactly three decimals.
extern std::array<float, 32> sinTable;
extern std::array<float, 32> cosTable;
void FillDirectionTables();

// Rounds half away from zero.
int RoundToInt(double x);

// The program's one pseudo-random generator: values 0..32767, the same
// sequence on every platform for the same seed. Random(n) is that value
// modulo n; n must be positive.
void SeedRandom(uint32_t seed);
// The generator's whole state: SeedRandom(RandomState()) carries on the
// same sequence, which is how a kept run starts where it began.
uint32_t RandomState();
int Random(int n);
