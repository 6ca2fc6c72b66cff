// The menus' rules: what the title's items start, and the continue scene's
// choice, which a slip of the finger never decides.
#include <gtest/gtest.h>

#include "app/scene.h"
#include "audio/game_sounds.h"
#include "scenes/continue_scene.h"
#include "scenes/title.h"
#include "tests/doubles.h"

namespace {

constexpr int kOpeningFrames = 26;  // 25 frames of curtain, then the menu listens

class Menus : public WorldTest {
 protected:
  // One frame with the keys going down before it and up after it, then one
  // without keys, so that taps in a row count as separate presses.
  static void Tap(Scene& scene, std::initializer_list<int> keys) {
    Press(keys, [&] { scene.Update(); });
    scene.Update();
  }
  static void Run(Scene& scene, int frames) {
    for (int i = 0; i < frames; ++i) scene.Update();
  }
};

}  // namespace

TEST_F(Menus, EachTitleItemStartsItsGameOrScene) {
  struct Case {
    int downs, stage, level, potions, sceneState;
  } cases[] = {{0, 1, 1, 0, scene_state::kGameStart},
               {1, 2, 1, 50, scene_state::kGameStart},
               {2, 3, 1, 100, scene_state::kGameStart},
               {3, 0, 0, 0, scene_state::kRankingStart},
               {4, 0, 0, 0, scene_state::kQuit}};
  for (const Case& c : cases) {
    AppBlock& app = GetAppBlock();
    app.startStage = app.startLevel = app.potionsCarried = 0;
    app.sceneState = scene_state::kTitleRunning;
    NTitle title;
    title.Start();
    Run(title, kOpeningFrames);
    for (int i = 0; i < c.downs; ++i) Tap(title, {key::kDown});
    Tap(title, {key::kEnter});
    Run(title, 25);
    EXPECT_EQ(app.sceneState, c.sceneState) << c.downs;
    EXPECT_EQ(std::make_tuple(app.startStage, app.startLevel, app.potionsCarried),
              std::make_tuple(c.stage, c.level, c.potions))
        << c.downs;
  }
}

TEST_F(Menus, TheContinueSceneOpensOnYesAndIgnoresAConfirmTogetherWithAnArrow) {
  GetAppBlock().sceneState = scene_state::kContinueRunning;
  NContinue scene;
  scene.Start();
  for (int frame = 1; frame <= kOpeningFrames; ++frame) {
    Press({key::kRight, key::kSpace}, [&] { scene.Update(); });  // the curtain ignores keys
  }
  EXPECT_EQ(sounds->played, std::vector<int>{sound::kContinue});  // once, as it starts to listen
  sounds->played.clear();
  // An arrow sounds only when the choice changes; with a confirm it takes the frame.
  Tap(scene, {key::kLeft});
  Tap(scene, {key::kRight, key::kEnter});
  Tap(scene, {key::kRight});
  Tap(scene, {key::kLeft, key::kSpace});
  EXPECT_EQ(sounds->played, (std::vector<int>{sound::kMenuMove, sound::kMenuMove}));
  Tap(scene, {key::kSpace});  // YES
  Run(scene, 25);
  EXPECT_EQ(GetAppBlock().sceneState, scene_state::kGameStart);
}
