#include <gtest/gtest.h>

#include "app/app_block.h"
#include "game/sounds.h"
#include "gfx/sprite256.h"
#include "input/input.h"
#include "scenes/logo.h"
#include "tests/scene_fixture.h"

using LogoTest = SceneTest;

TEST_F(LogoTest, TheLogoStandsOpaqueInTheMiddleOfAWhiteScreen) {
  NZarvoLogo logo;
  logo.Start();
  logo.Update();
  ShotPicture shot = Screen();

  NSprite256 picture(309, 1);
  ASSERT_EQ(picture.GetWidth(), 320);
  ASSERT_EQ(picture.GetHeight(), 128);
  picture.SetTransparent(false);
  Expectation expected;
  Surface& target = *expected.Target();
  target.Fill({0, 0, 640, 176}, 255);
  target.Fill({0, 304, 640, 480}, 255);
  target.Fill({0, 176, 160, 304}, 255);
  target.Fill({480, 176, 640, 304}, 255);
  picture.SetPosition(160, 176);
  picture.Draw(&target);
  EXPECT_EQ(expected.Mismatches(shot, 640 * 480 - 320 * 128), 0);
}
