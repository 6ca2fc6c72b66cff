#pragma once

#include <memory>

#include "app/input_driver.h"
#include "app/options.h"

// The input driver the command line asks for (--autopilot or --soak), or
// none for a run that a person or an input file plays.
std::unique_ptr<InputDriver> MakeInputDriver(const Options& options);
