#include <gtest/gtest.h>

#include <algorithm>

#include "app/app_block.h"
#include "game/sounds.h"
#include "gfx/ascii.h"
#include "gfx/sprite256.h"
#include "input/input.h"
#include "scenes/continue_scene.h"
#include "tests/scene_fixture.h"

namespace {

constexpr int kOpeningFrames = 26;

class ContinueTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    AppBlock& app = GetAppBlock();
    app.startStage = 2;
    app.startLevel = 7;
    app.potionsCarried = 12;
    app.sceneState = 10;
  }
  std::unique_ptr<NContinue> OpenContinue() {
    auto scene = std::make_unique<NContinue>();
    scene->Start();
    Run(*scene, kOpeningFrames);
    EXPECT_EQ(scene->GetState(), 1);
    return scene;
  }
  // Cursors, option words and the price line as they should stand with the
  // given option selected. The cursors blink between two frames; the
  // better fitting one counts.
  static int LayoutMismatches(int selection) {
    int best = 640 * 480;
    for (int cursorFrame : {0, 1}) {
      Expectation expected;
      NSprite256 yes(209, 1), no(210, 1), left(215, 2), right(216, 2);
      yes.SetCenter(240, 425);
      no.SetCenter(400, 425);
      yes.Draw(expected.Target());
      no.Draw(expected.Target());
      left.SetFrame(cursorFrame);
      right.SetFrame(cursorFrame);
      left.SetCenter(selection == 0 ? 194 : 362, 425);
      right.SetCenter(selection == 0 ? 285 : 438, 425);
      left.Draw(expected.Target());
      right.Draw(expected.Target());
      NAscii font;
      font.SetTarget(expected.Target());
      font.SetFont(1);
      font.DrawText(148, 450, "It costs 50 potions to continue.");
      best = std::min(best, expected.Mismatches(Screen(), 1000));
    }
    return best;
  }
};

}  // namespace

TEST_F(ContinueTest, OpensOnYesWithItsSoundOnceWhenItBecomesInteractive) {
  NContinue scene;
  scene.Start();
  for (int frame = 1; frame <= kOpeningFrames; ++frame) {
    Frame(scene, {key::kRight, key::kSpace});  // the curtain ignores keys
    EXPECT_EQ(sounds->Count(sound::kContinue), frame < kOpeningFrames ? 0 : 1) << "frame " << frame;
  }
  EXPECT_EQ(scene.GetState(), 1);
  EXPECT_EQ(scene.GetSelection(), 0);
  Run(scene, 60);
  EXPECT_EQ(sounds->played, std::vector<int>{sound::kContinue});
  EXPECT_EQ(LayoutMismatches(0), 0);
}

TEST_F(ContinueTest, ArrowsSoundOnlyWhenTheChoiceChanges) {
  auto scene = OpenContinue();
  struct Step {
    int key, selection, moveSounds;
  };
  const Step steps[] = {{key::kLeft, 0, 0}, {key::kRight, 1, 1}, {key::kRight, 1, 1}, {key::kLeft, 0, 2}};
  for (const Step& step : steps) {
    Tap(*scene, {step.key});
    EXPECT_EQ(scene->GetSelection(), step.selection);
    EXPECT_EQ(sounds->Count(sound::kMenuMove), step.moveSounds);
  }
  FeedJoystickState(true, 32767, 0, 0);  // the pad pushed right
  scene->Update();
  EXPECT_EQ(scene->GetSelection(), 1);
  EXPECT_EQ(LayoutMismatches(1), 0);
}

TEST_F(ContinueTest, AConfirmWithAnArrowInTheSameFrameIsIgnored) {
  auto scene = OpenContinue();
  Tap(*scene, {key::kRight, key::kEnter});
  EXPECT_EQ(scene->GetSelection(), 1);
  EXPECT_EQ(scene->GetState(), 1);
  Tap(*scene, {key::kLeft, key::kSpace});  // on NO: Left still takes the frame
  EXPECT_EQ(scene->GetState(), 1);
  Tap(*scene, {key::kRight, key::kSpace});
  EXPECT_EQ(scene->GetState(), 1);
  EXPECT_EQ(sounds->Count(sound::kChime), 0);
  Tap(*scene, {key::kSpace});
  EXPECT_EQ(scene->GetState(), 3);
  EXPECT_EQ(sounds->Count(sound::kChime), 1);
}

TEST_F(ContinueTest, YesResumesTheLostGameNoGoesToTheTitle) {
  for (int choice : {0, 1}) {
    GetAppBlock().sceneState = 10;
    auto scene = OpenContinue();
    if (choice == 1) Tap(*scene, {key::kRight});
    Frame(*scene, {key::kKeypadEnter});
    Run(*scene, 24);
    EXPECT_EQ(GetAppBlock().sceneState, 10);
    scene->Update();
    EXPECT_EQ(scene->GetState(), 0);
    EXPECT_EQ(GetAppBlock().sceneState, choice == 0 ? 3 : 5);
    // The hand-over fields are the game's own, untouched.
    EXPECT_EQ(GetAppBlock().startStage, 2);
    EXPECT_EQ(GetAppBlock().startLevel, 7);
    EXPECT_EQ(GetAppBlock().potionsCarried, 12);
  }
  EXPECT_TRUE(music.log.empty());  // no music in this scene
}
