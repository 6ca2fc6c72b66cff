#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_block.h"
#include "app/sequencer.h"
#include "app/shutdown.h"
#include "gfx/display.h"

namespace {

const char* Name(SceneKind k) {
  switch (k) {
    case SceneKind::Logo:
      return "logo";
    case SceneKind::Title:
      return "title";
    case SceneKind::Ranking:
      return "ranking";
    case SceneKind::Continue:
      return "continue";
    case SceneKind::Ending:
      return "ending";
    case SceneKind::Game:
      return "game";
  }
  return "?";
}

// Scenes that only write down what happens to them.
struct Journal {
  std::vector<std::string> lines;
};

class RecordingScene : public Scene {
 public:
  RecordingScene(Journal& j, std::string name) : j_(j), name_(std::move(name)) { j_.lines.push_back("new " + name_); }
  ~RecordingScene() override { j_.lines.push_back("delete " + name_); }
  void Start() override { j_.lines.push_back("start " + name_); }
  void Update() override { j_.lines.push_back("update " + name_); }

 private:
  Journal& j_;
  std::string name_;
};

class RecordingFactory : public SceneFactory {
 public:
  explicit RecordingFactory(Journal& j) : j_(j) {}
  std::unique_ptr<Scene> Make(SceneKind kind) override { return std::make_unique<RecordingScene>(j_, Name(kind)); }
  std::unique_ptr<Scene> MakeGame(int stage, int level, int potions) override {
    return std::make_unique<RecordingScene>(
        j_, "game " + std::to_string(stage) + "-" + std::to_string(level) + ":" + std::to_string(potions));
  }

 private:
  Journal& j_;
};

class SequencerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAppBlock();
    ResetShutdown();
    CreateDisplay(nullptr);
    SetDisplayMode();
  }
  void TearDown() override {
    ReleaseDisplay();
    ResetShutdown();
  }
  void Step(int state) {
    GetAppBlock().sceneState = state;
    sequencer.Step();
  }
  Journal journal;
  RecordingFactory factory{journal};
  Sequencer sequencer{factory};
};

}  // namespace

TEST_F(SequencerTest, StartStatesBuildStartAndMoveToTheirRunningState) {
  sequencer.Step();  // state 1 at start: the logo
  EXPECT_EQ(GetAppBlock().sceneState, 2);
  sequencer.Step();
  EXPECT_EQ(journal.lines, (std::vector<std::string>{"new logo", "start logo", "update logo"}));
}

TEST_F(SequencerTest, TitleStartDeletesEveryOtherSceneInItsOrder) {
  Step(1);
  Step(11);  // ending (deletes title and game, which do not exist)
  Step(7);   // ranking
  journal.lines.clear();
  Step(5);
  EXPECT_EQ(journal.lines,
            (std::vector<std::string>{"delete logo", "delete ranking", "delete ending", "new title", "start title"}));
  EXPECT_EQ(GetAppBlock().sceneState, 6);
}

TEST_F(SequencerTest, GameStartUsesTheHandOverFieldsAndReplacesTitleAndContinue) {
  Step(5);
  Step(9);  // continue scene (deletes the game, which does not exist)
  AppBlock& app = GetAppBlock();
  app.startStage = 2;
  app.startLevel = 7;
  app.potionsCarried = 50;
  journal.lines.clear();
  Step(3);
  EXPECT_EQ(journal.lines, (std::vector<std::string>{"delete title", "delete continue", "new game 2-7:50"}));
  EXPECT_EQ(app.sceneState, 4);
  journal.lines.clear();
  Step(9);
  EXPECT_EQ(journal.lines, (std::vector<std::string>{"delete game 2-7:50", "new continue", "start continue"}));
  journal.lines.clear();
  Step(11);
  EXPECT_EQ(journal.lines, (std::vector<std::string>{"new ending", "start ending"}));
}

TEST_F(SequencerTest, UnknownStateDoesNothingAndQuitShutsDown) {
  Step(1);
  journal.lines.clear();
  Step(13);
  EXPECT_TRUE(journal.lines.empty());
  EXPECT_EQ(GetAppBlock().sceneState, 13);
  SetShutdownTargets(nullptr, &sequencer);
  GetAppBlock().sceneState = 14;
  EXPECT_FALSE(sequencer.Step());
  EXPECT_TRUE(IsQuitRequested());
  EXPECT_EQ(journal.lines, (std::vector<std::string>{"delete logo"}));
  EXPECT_EQ(GetAppBlock().paused, 1);
  SetShutdownTargets(nullptr, nullptr);
}

TEST_F(SequencerTest, ShutdownDeletesScenesInItsOwnOrderAndIsSafeTwice) {
  Step(1);
  Step(7);
  Step(9);
  Step(11);
  Step(3);
  journal.lines.clear();
  SetShutdownTargets(nullptr, &sequencer);
  Shutdown(nullptr);
  Shutdown(nullptr);
  EXPECT_EQ(journal.lines,
            (std::vector<std::string>{"delete logo", "delete ranking", "delete ending", "delete game 0-0:0"}));
  EXPECT_EQ(GetBackSurface(), nullptr);
  SetShutdownTargets(nullptr, nullptr);
}

TEST_F(SequencerTest, StartStatesPresentABlackScreen) {
  InitPalette(106);
  GetBackSurface()->FillAll(200);
  Step(1);
  EXPECT_EQ(GetBackSurface()->At(0, 0), 0);
  EXPECT_EQ(GetBackSurface()->At(639, 479), 0);
}
