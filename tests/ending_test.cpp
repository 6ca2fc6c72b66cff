#include <gtest/gtest.h>

#include "app/app_block.h"
#include "game/sounds.h"
#include "gfx/sprite256.h"
#include "input/input.h"
#include "scenes/ending.h"
#include "tests/scene_fixture.h"

using EndingTest = SceneTest;

TEST_F(EndingTest, IgnoresInputForItsFirst26Frames) {
  NEnding ending;
  ending.Start();
  GetAppBlock().sceneState = 12;
  for (int frame = 1; frame <= 26; ++frame) {
    Frame(ending, {key::kSpace});
    ASSERT_NE(ending.GetState(), 3) << "frame " << frame;
  }
  EXPECT_EQ(ending.GetState(), 1);
  EXPECT_EQ(sounds->Count(sound::kChime), 0);
  Frame(ending, {key::kEnter});
  EXPECT_EQ(ending.GetState(), 3);
  EXPECT_EQ(sounds->Count(sound::kChime), 1);
  Run(ending, 24);
  EXPECT_EQ(GetAppBlock().sceneState, 12);
  ending.Update();
  EXPECT_EQ(GetAppBlock().sceneState, 5);
}

TEST_F(EndingTest, ItsTunePlaysUntilTheSceneIsDeleted) {
  auto ending = std::make_unique<NEnding>();
  ending->Start();
  EXPECT_EQ(music.log, (std::vector<std::string>{"close", "open Music01.mid", "play"}));
  Run(*ending, 60);
  EXPECT_EQ(music.log.size(), 3u);
  ending.reset();
  EXPECT_EQ(music.log.back(), "close");
}

TEST_F(EndingTest, PicturesStandWhereTheyBelong) {
  NEnding ending;
  ending.Start();
  Run(ending, 25);  // curtain fully open
  Expectation expected;
  NSprite256 background(295, 1), heading(298, 1), credits(308, 1);
  ASSERT_EQ(background.GetHeight(), 300);
  background.SetTransparent(false);
  background.SetCenter(320, 240);
  heading.SetCenter(320, 60);
  credits.SetCenter(320, 435);
  background.Draw(expected.Target());
  heading.Draw(expected.Target());
  credits.Draw(expected.Target());
  // The witch covers the middle of the background; leave it out.
  expected.Target()->Fill({142, 100, 498, 380}, Expectation::kUnset);
  EXPECT_EQ(expected.Mismatches(Screen(), 20000), 0);

  // Above and below the background band nothing but the heading and the
  // credits is drawn: the black stays.
  ShotPicture shot = Screen();
  EXPECT_EQ(shot.At(5, 5), 0);
  EXPECT_EQ(shot.At(630, 470), 0);
}
