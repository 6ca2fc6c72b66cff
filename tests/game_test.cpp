#include <gtest/gtest.h>

#include <memory>

#include "app/app_block.h"
#include "app/ranking.h"
#include "base/math_util.h"
#include "game/bullet_list.h"
#include "game/enemy_list.h"
#include "game/explode_list.h"
#include "game/game.h"
#include "game/potion_list.h"
#include "game/sounds.h"
#include "gfx/display.h"
#include "input/input.h"
#include "tests/run_helpers.h"
#include "tests/sound_spy.h"

using namespace game_state;

namespace {

class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAppBlock();
    FillDirectionTables();
    SeedRandom(5);
    CreateDisplay(nullptr);
    SetDisplayMode();
    InitPalette(106);
    InitInput();
    root = TestDir("game");
    SetRankingRoot(root.string());
    LoadRanking();
    spy = std::make_unique<SoundSpy>();
  }
  void TearDown() override {
    game.reset();
    spy.reset();
    ReleaseInput();
    ReleaseDisplay();
    std::filesystem::remove_all(root);
  }
  void Start(int stage, int level, int potions) {
    game = std::make_unique<NGame>();
    game->SetStage(stage);
    game->SetUpLevel(level);
    game->SetPotions(potions);
  }
  // Runs frames until the game reaches a state (or gives up).
  int RunUntil(int state, int limit = 2000) {
    for (int n = 0; n < limit; ++n) {
      if (game->GetState() == state) return n;
      game->Update();
    }
    return -1;
  }
  void PlacePotionOnPlayer(bool life = false) {
    NMyChara& p = game->Player();
    if (life) {
      game->Potions().AddLifePotion(p.GetCenterX(), p.GetCenterY(), 0);
    } else {
      game->Potions().AddPotion(p.GetCenterX(), p.GetCenterY(), 0);
    }
  }
  std::filesystem::path root;
  std::unique_ptr<SoundSpy> spy;
  std::unique_ptr<NGame> game;
};

}  // namespace

TEST_F(GameTest, ALevelOpensWithTheCurtainThenGetReadyThenPlay) {
  Start(1, 1, 0);
  EXPECT_EQ(game->GetState(), kLevelOpening);
  EXPECT_EQ(game->Player().GetX(), 297);
  EXPECT_EQ(game->Player().GetY(), 405);
  // The curtain opens over 25 drawn frames (96 % down to 0 %); the 26th
  // starts the get-ready text.
  EXPECT_EQ(RunUntil(kEvent), 26);
  int getReady = RunUntil(kPlaying);
  EXPECT_GE(getReady, 55);
  EXPECT_LE(getReady, 65);
  // The formation did not move while the world stood still.
  EXPECT_EQ(game->Enemies().Get(0)->GetCenterX(), 188);
}

TEST_F(GameTest, StartingWithAHundredPotionsGivesPowerLevelTwo) {
  Start(3, 1, 100);
  EXPECT_EQ(game->Player().powerLevel, 2);
  EXPECT_EQ(game->Snapshot().power, 2);
}

TEST_F(GameTest, TheFiftiethPotionRaisesThePowerAndFreezesTheWorld) {
  Start(1, 1, 49);
  RunUntil(kPlaying);
  PlacePotionOnPlayer();
  game->Update();
  EXPECT_EQ(game->Player().potionCount, 50);
  EXPECT_EQ(game->Player().powerLevel, 1);
  EXPECT_EQ(game->GetState(), kEvent);
  EXPECT_EQ(spy->Count(sound::kChime), 1);
  float x = game->Enemies().Get(0)->GetFloatX();
  game->Update();
  EXPECT_EQ(game->Enemies().Get(0)->GetFloatX(), x);  // the world stands still
  EXPECT_GT(RunUntil(kPlaying), 0);
}

TEST_F(GameTest, APowerUpDueWhileBlinkingComesWithTheNextPotion) {
  Start(1, 1, 49);
  RunUntil(kPlaying);
  game->Player().playerState = NMyChara::kInvulnerable;
  game->Player().invulnerableTimer = 75;
  PlacePotionOnPlayer();
  game->Update();
  EXPECT_EQ(game->Player().potionCount, 50);
  EXPECT_EQ(game->Player().powerLevel, 0);
  EXPECT_EQ(game->GetState(), kPlaying);
  for (int i = 0; i < 80; ++i) {
    game->Bullets().Clear();  // keep her safe while she blinks
    game->Update();
  }
  EXPECT_EQ(game->Player().playerState, NMyChara::kNormal);
  EXPECT_EQ(game->Player().powerLevel, 0);  // not when the blinking ends ...
  PlacePotionOnPlayer();
  game->Update();
  EXPECT_EQ(game->Player().powerLevel, 1);  // ... but with the next potion
}

TEST_F(GameTest, LifePotionsCountOnlyInTheNormalStateAndPotionsStopAt9999) {
  Start(1, 1, 9998);
  RunUntil(kPlaying);
  PlacePotionOnPlayer(true);
  game->Update();
  EXPECT_EQ(game->Player().lives, 6);
  game->Player().playerState = NMyChara::kInvulnerable;
  game->Player().invulnerableTimer = 75;
  PlacePotionOnPlayer(true);
  game->Update();
  EXPECT_EQ(game->Player().lives, 6);
  EXPECT_EQ(spy->Count(sound::kChime), 2);
  PlacePotionOnPlayer();
  PlacePotionOnPlayer();
  game->Update();
  EXPECT_EQ(game->Player().potionCount, 9999);
  EXPECT_EQ(game->Player().powerLevel, 5);
}

TEST_F(GameTest, LosingTheLastLifeShowsGameOverThenHandsOverAContinue) {
  Start(2, 7, 50);
  RunUntil(kPlaying);
  game->Player().lives = 1;
  NExplodeList explosions;
  game->Player().Hit(explosions);
  EXPECT_EQ(game->GetState(), kGameOverText);
  float x = game->Enemies().Get(0)->GetFloatX();
  game->Update();
  EXPECT_NE(game->Enemies().Get(0)->GetFloatX(), x);  // the world runs on
  ASSERT_GT(RunUntil(kGameOverCurtain), 0);
  // 50 potions do not beat the eighth stored score of 30? They do: name entry.
  EXPECT_EQ(RunUntil(kNameEntry, 30), 25);
}

TEST_F(GameTest, AGameOverWithoutARankingScoreOffersTheContinueAtOnce) {
  for (int i = 0; i < kRankEntries; ++i) GetRankEntry(i).score = 1000;
  Start(2, 7, 50);
  RunUntil(kPlaying);
  game->Player().lives = 1;
  NExplodeList explosions;
  game->Player().Hit(explosions);
  RunUntil(kIdle, 400);
  AppBlock& app = GetAppBlock();
  EXPECT_EQ(app.sceneState, 9);
  EXPECT_EQ(app.startStage, 2);
  EXPECT_EQ(app.startLevel, 7);
  EXPECT_EQ(app.potionsCarried, 0);
}

TEST_F(GameTest, FewerThanFiftyPotionsGoBackToTheTitle) {
  for (int i = 0; i < kRankEntries; ++i) GetRankEntry(i).score = 1000;
  Start(1, 3, 49);
  RunUntil(kPlaying);
  game->Player().lives = 1;
  NExplodeList explosions;
  game->Player().Hit(explosions);
  RunUntil(kIdle, 400);
  EXPECT_EQ(GetAppBlock().sceneState, 5);
  EXPECT_EQ(GetAppBlock().potionsCarried, -1);
}

TEST_F(GameTest, ClearingALevelWaitsSeventyFramesAndTheCurtain) {
  Start(1, 1, 0);
  RunUntil(kPlaying);
  game->Enemies().Clear();
  game->Update();
  EXPECT_EQ(game->GetState(), kLevelClear);
  EXPECT_EQ(RunUntil(kLevelClosing), 70);
  EXPECT_EQ(RunUntil(kLevelOpening), 25);
  EXPECT_EQ(game->Snapshot().level, 2);
  EXPECT_EQ(game->Enemies().Count(), 24);
}

TEST_F(GameTest, BothArrowsHeldSteerRightAndFireIsByPress) {
  Start(1, 1, 0);
  RunUntil(kPlaying);
  game->Enemies().Clear();
  FeedKeyEvent(key::kLeft, true);
  FeedKeyEvent(key::kRight, true);
  game->Update();
  EXPECT_EQ(game->Player().GetX(), 305);
  FeedKeyEvent(key::kLeft, false);
  FeedKeyEvent(key::kRight, false);
  FeedKeyEvent(key::kSpace, true);
  game->Update();
  game->Update();
  game->Update();
  EXPECT_EQ(game->Snapshot().shots, 1);  // held: one volley
  FeedKeyEvent(key::kSpace, false);
  game->Update();
  FeedKeyEvent(key::kSpace, true);
  game->Update();
  EXPECT_EQ(game->Snapshot().shots, 2);
}
