#include "drivers/input_drivers.h"

#include "drivers/autopilot.h"
#include "drivers/soak_input.h"

std::unique_ptr<InputDriver> MakeInputDriver(const Options& options) {
  if (options.soakSeed) return std::make_unique<SoakInput>(*options.soakSeed);
  if (options.autopilot) return std::make_unique<Autopilot>();
  return nullptr;
}
