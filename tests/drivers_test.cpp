// The players for tests and soaks: the soak's random input.
#include <gtest/gtest.h>

#include <string>

#include "app/app_block.h"
#include "drivers/soak_input.h"
#include "input/input.h"

TEST(SoakInput, ASeedGivesTheSameKeysEveryTimeNeverEscape) {
  ResetAppBlock();
  GetAppBlock().sceneState = scene_state::kGameRunning;
  auto keys = [](uint32_t seed) {
    SoakInput soak(seed);
    std::string out = " ";
    for (int f = 0; f < 3000; ++f) {
      for (const HostEvent& e : soak.Step(f))
        out += std::to_string(static_cast<int>(e.type)) + ":" + std::to_string(e.key) + " ";
    }
    return out;
  };
  std::string a = keys(11);
  EXPECT_GT(a.size(), 2000u);
  EXPECT_EQ(a, keys(11));
  EXPECT_NE(a, keys(12));
  EXPECT_EQ(a.find(" 1:" + std::to_string(key::kEscape) + " "), std::string::npos);  // no Escape down
}
