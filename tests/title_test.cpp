#include <gtest/gtest.h>

#include "app/app_block.h"
#include "game/potion_chara.h"
#include "game/sounds.h"
#include "gfx/ascii.h"
#include "gfx/sprite256.h"
#include "input/input.h"
#include "scenes/title.h"
#include "tests/scene_fixture.h"

namespace {

constexpr int kOpeningFrames = 26;  // 25 of curtain and the switch to the menu
constexpr int kClosingFrames = 25;

class TitleTest : public SceneTest {
 protected:
  // A title that has just become interactive.
  std::unique_ptr<NTitle> OpenTitle() {
    auto title = std::make_unique<NTitle>();
    title->Start();
    Run(*title, kOpeningFrames);
    EXPECT_EQ(title->GetState(), 1);
    return title;
  }
};

}  // namespace

TEST_F(TitleTest, MenuWrapsAroundAtBothEnds) {
  auto title = OpenTitle();
  struct Step {
    int key, selection;
  };
  const Step steps[] = {{key::kUp, 4}, {key::kUp, 3}, {key::kDown, 4}, {key::kDown, 0}, {key::kDown, 1}};
  for (const Step& step : steps) {
    Tap(*title, {step.key});
    EXPECT_EQ(title->GetSelection(), step.selection);
  }
  EXPECT_EQ(sounds->Count(sound::kMenuMove), 5);
  // A held key moves once; the pad moves like the arrows.
  FeedKeyEvent(key::kDown, true);
  Run(*title, 3);
  FeedKeyEvent(key::kDown, false);
  EXPECT_EQ(title->GetSelection(), 2);
  FeedJoystickState(true, 0, -32768, 0);
  title->Update();
  FeedJoystickState(true, 0, 0, 0);
  title->Update();
  EXPECT_EQ(title->GetSelection(), 1);
}

TEST_F(TitleTest, EachItemHandsOverItsGameOrScene) {
  struct Case {
    int downs, stage, level, potions, sceneState;
  };
  const Case cases[] = {{0, 1, 1, 0, 3}, {1, 2, 1, 50, 3}, {2, 3, 1, 100, 3}, {3, 7, 7, 7, 7}, {4, 7, 7, 7, 14}};
  const int confirms[] = {key::kSpace, key::kEnter, key::kKeypadEnter, -1, key::kSpace};
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    AppBlock& app = GetAppBlock();
    app.startStage = app.startLevel = app.potionsCarried = 7;
    app.sceneState = 6;
    auto title = OpenTitle();
    for (int d = 0; d < c.downs; ++d) Tap(*title, {key::kDown});
    if (confirms[i] < 0) {
      FeedJoystickState(true, 0, 0, 1);  // pad button 0
      title->Update();
      FeedJoystickState(false, 0, 0, 0);
    } else {
      Frame(*title, {confirms[i]});
    }
    ASSERT_EQ(title->GetState(), 3) << "item " << i;
    Run(*title, kClosingFrames - 1);
    EXPECT_EQ(app.sceneState, 6) << "item " << i;
    title->Update();
    EXPECT_EQ(app.sceneState, c.sceneState) << "item " << i;
    EXPECT_EQ(app.startStage, c.stage) << "item " << i;
    EXPECT_EQ(app.startLevel, c.level) << "item " << i;
    EXPECT_EQ(app.potionsCarried, c.potions) << "item " << i;
  }
}

TEST_F(TitleTest, PlaysItsTuneAndClosesItWhenDeleted) {
  {
    NTitle title;
    EXPECT_TRUE(music.log.empty());
    title.Start();
    EXPECT_EQ(music.log, (std::vector<std::string>{"close", "open Music03.mid", "play"}));
    Run(title, 40);
  }
  EXPECT_EQ(music.log.back(), "close");
}

TEST_F(TitleTest, TheWitchFliesInFromTheLeftThenBobsInPlace) {
  NTitle title;
  title.Start();
  const NPotionChara& witch = title.GetCharacter();
  EXPECT_EQ(witch.GetX(), -10 - 347);
  EXPECT_EQ(witch.GetY(), 220);
  title.Update();
  EXPECT_EQ(witch.GetX(), -357 + 3);  // she moves behind the curtain too
  Run(title, 127);
  EXPECT_EQ(witch.GetX(), -357 + 3 * 128);
  EXPECT_EQ(witch.GetY(), 220);
  int lowest = 220, highest = 220;
  for (int i = 0; i < 64; ++i) {
    title.Update();
    EXPECT_EQ(witch.GetX(), 27);
    lowest = std::max(lowest, witch.GetY());
    highest = std::min(highest, witch.GetY());
  }
  EXPECT_EQ(highest, 212);
  EXPECT_EQ(lowest, 220);
}

TEST_F(TitleTest, LayoutOfMenuCursorsMakerAndDriftingTiles) {
  NTitle title;
  title.Start();
  Run(title, 25);  // the curtain is open, the menu not yet live
  ShotPicture shot = Screen();

  Expectation menu;
  NSprite256 labels(255, 5);
  for (int i = 0; i < 5; ++i) {
    labels.SetFrame(i);
    labels.SetPosition(425, 260 + 34 * i);
    labels.Draw(menu.Target());
  }
  NSprite256 left(215, 2), right(216, 2);
  left.SetCenter(411, 273);
  right.SetCenter(601, 273);
  left.Draw(menu.Target());
  right.Draw(menu.Target());
  NAscii font;
  font.SetTarget(menu.Target());
  font.SetFont(0);
  font.DrawText(8, 460, "KORVA GAMES 1999-2026");
  EXPECT_EQ(menu.Mismatches(shot, 2000), 0);

  // Below the logo and right of the witch only the tiles show, 25 pixels on.
  NSprite256 tile(191, 1);
  tile.SetTransparent(false);
  Surface tiles(80, 80);
  tile.Draw(&tiles);
  int differ = 0;
  for (int y = 240; y < 450; ++y) {
    for (int x = 100; x < 400; ++x) differ += shot.At(x, y) != tiles.At((x + 25) % 80, (y + 25) % 80);
  }
  EXPECT_EQ(differ, 0);
}
