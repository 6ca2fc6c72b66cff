#pragma once

#include <cstdint>

// A seed of its own for every live launch: the wall clock mixed with the
// system's random source, so two launches never play the same game.
uint32_t LaunchSeed();
