#include <gtest/gtest.h>

#include "app/frame_pacer.h"

TEST(SteadyPacing, KeepsTheGameRateOnASixtyHertzDisplay) {
  for (uint32_t interval : {40u, 10u}) {
    AppBlock app;
    app.frameInterval = interval;
    int frames = 0;
    // Six seconds of paints every 16 or 17 ms: the first frame at once, then
    // one every interval, however the paints fall.
    for (uint32_t paint = 0; paint <= 360; ++paint) {
      while (SteadyFrameDue(app, 1000 + paint * 1000 / 60)) ++frames;
    }
    EXPECT_EQ(frames, static_cast<int>(6000 / interval + 1)) << interval;
  }
}

TEST(SteadyPacing, ALateFrameRunsOnceAndTheCountStartsAfresh) {
  AppBlock app;
  EXPECT_TRUE(SteadyFrameDue(app, 1000));
  EXPECT_FALSE(SteadyFrameDue(app, 1039));
  EXPECT_TRUE(SteadyFrameDue(app, 1050));  // due at 1040, so the next at 1080
  EXPECT_FALSE(SteadyFrameDue(app, 1079));
  EXPECT_TRUE(SteadyFrameDue(app, 1400));  // a stall: not made up
  EXPECT_FALSE(SteadyFrameDue(app, 1439));
  EXPECT_TRUE(SteadyFrameDue(app, 1440));
}
