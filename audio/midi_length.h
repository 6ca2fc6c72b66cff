#pragma once

#include <cstdint>
#include <optional>
#include <span>

// How long a Standard MIDI File plays, in seconds, up to the last track's
// end: the point where a tune that loops starts again. The synthesiser
// reports the end of a play only after the last notes have died away, which
// can be seconds later and would leave a silent gap at every loop. Nothing
// when the file is malformed.
std::optional<double> MidiFileSeconds(std::span<const uint8_t> file);
