#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The samples of a RIFF WAVE file's first data chunk; empty when the file is
// malformed: a header that is not RIFF/WAVE, a RIFF size beyond the bytes
// given, or any chunk whose size runs past the RIFF size. The fmt chunk is
// looked for but not used: every effect is 22050 Hz, 8-bit mono.
std::vector<uint8_t> ReadWaveSamples(std::span<const uint8_t> riff);
