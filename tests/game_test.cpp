// Rules of a game with edge cases a replay rarely meets: the power-up
// thresholds, potions and lives, what a game over hands on, and the volleys.
#include <gtest/gtest.h>

#include <tuple>

#include "app/ranking.h"
#include "app/scene.h"
#include "audio/game_sounds.h"
#include "game/bullet_list.h"
#include "game/enemy_list.h"
#include "game/explode_list.h"
#include "game/fire_list.h"
#include "game/game.h"
#include "game/potion_list.h"
#include "tests/doubles.h"

using namespace game_state;

namespace {

class Game : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    // A ranking nobody beats: a game over goes straight on.
    for (int i = 0; i < kRankEntries; ++i) GetRankEntry(i).score = 5000;
  }
  void TearDown() override {
    game.reset();
    WorldTest::TearDown();
  }
  void Start(int stage, int level, int potions) {
    game = std::make_unique<NGame>();
    game->SetStage(stage);
    game->SetUpLevel(level);
    game->SetPotions(potions);
    game->SetInvulnerable(true);  // nothing the enemies do gets in the way
    for (int n = 0; n < 200 && game->GetState() != kPlaying; ++n) game->Update();
  }
  // A potion (or a life potion) that falls onto her in the next frame.
  void Catch(bool life = false) {
    NMyChara& p = game->Player();
    life ? game->Potions().AddLifePotion(p.GetCenterX(), p.GetCenterY(), 0)
         : game->Potions().AddPotion(p.GetCenterX(), p.GetCenterY(), 0);
    game->Update();
  }
  void Blink() {
    game->Player().playerState = NMyChara::kInvulnerable;
    game->Player().invulnerableTimer = NMyChara::kInvulnerableFrames;
  }
  std::unique_ptr<NGame> game;
};

}  // namespace

TEST_F(Game, TheFiftiethPotionRaisesThePowerAndHoldsTheWorldForTheNotice) {
  for (int level = 1; level <= 5; ++level) {
    EXPECT_EQ(PowerLevelFor(50 * level - 1), level - 1);
    EXPECT_EQ(PowerLevelFor(50 * level), level);
  }
  EXPECT_EQ(PowerLevelFor(9999), 5);
  Start(1, 1, 48);
  Catch();
  EXPECT_EQ(game->GetState(), kPlaying);
  EXPECT_EQ(game->Player().powerLevel, 0);
  Catch();
  EXPECT_EQ(game->Player().potionCount, 50);
  EXPECT_EQ(game->Player().powerLevel, 1);
  EXPECT_EQ(game->GetState(), kEvent);
  EXPECT_EQ(sounds->Count(sound::kChime), 2);
  game->Shots().Fire(320, 300, 0);
  int y = game->Shots().Get(0)->GetY();
  game->Update();
  EXPECT_EQ(game->Shots().Get(0)->GetY(), y);  // the world stands still
}

TEST_F(Game, APowerUpDueWhileSheBlinksComesWithTheNextPotionNotBefore) {
  Start(1, 1, 49);
  Blink();
  Catch();
  EXPECT_EQ(game->Player().potionCount, 50);
  EXPECT_EQ(game->Player().powerLevel, 0);
  for (int i = 0; i < NMyChara::kInvulnerableFrames; ++i) game->Update();
  EXPECT_EQ(game->Player().playerState, NMyChara::kNormal);
  EXPECT_EQ(game->Player().powerLevel, 0);
  Catch();
  EXPECT_EQ(game->Player().powerLevel, 1);
}

TEST_F(Game, LifePotionsCountOnlyInTheNormalStatePotionsStopAt9999AndAtMost25Fall) {
  Start(1, 1, 9998);
  Catch(true);
  EXPECT_EQ(game->Player().lives, 6);
  Blink();
  Catch(true);
  EXPECT_EQ(game->Player().lives, 6);
  EXPECT_EQ(sounds->Count(sound::kChime), 2);
  Catch();
  Catch();
  EXPECT_EQ(game->Player().potionCount, 9999);
  NPotionList potions;  // 25 fall at most at once
  for (int i = 0; i < 30; ++i) potions.AddPotion(20 * i, 100, i % 3);
  EXPECT_EQ(potions.Count(), 25);
}

TEST_F(Game, ABulletThatHitsHerIsGoneWhetherTheHitCostsALifeOrNot) {
  Start(1, 1, 0);
  game->SetInvulnerable(false);
  game->Enemies().Clear();  // no one else fires
  NMyChara& p = game->Player();
  for (int hit = 1; hit <= 2; ++hit) {  // the second while she blinks
    game->Bullets().Shoot(p.GetCenterX(), p.GetCenterY(), 1);
    game->Update();
    EXPECT_EQ(game->Bullets().CountFreeSlots(), NBulletList::kSlots) << hit;
    EXPECT_EQ(p.lives, NMyChara::kStartLives - 1) << hit;
  }
}

TEST_F(Game, AGameOverOffersAContinueForFiftyPotionsElseTheTitle) {
  struct Case {
    int potions, sceneState, carried;
  } cases[] = {{50, scene_state::kContinueStart, 0}, {49, scene_state::kTitleStart, -1}};
  for (const Case& c : cases) {
    GetAppBlock().sceneState = scene_state::kGameRunning;
    Start(2, 7, c.potions);
    game->SetInvulnerable(false);
    game->Player().lives = 1;
    NExplodeList explosions;
    game->Player().Hit(explosions);
    EXPECT_EQ(game->GetState(), kGameOverText);
    for (int n = 0; n < 400 && game->GetState() != kIdle; ++n) game->Update();
    AppBlock& app = GetAppBlock();
    EXPECT_EQ(app.sceneState, c.sceneState) << c.potions;
    EXPECT_EQ(std::tie(app.startStage, app.startLevel, app.potionsCarried), std::make_tuple(2, 7, c.carried));
  }
}

TEST_F(Game, AVolleyGrowsWithThePowerNeedsRoomToSpareAndSoundsOnce) {
  // Per power level 0..5: shots in a volley, and the most on screen.
  const int perVolley[] = {1, 2, 3, 4, 5, 6};
  const int most[] = {3, 4, 6, 8, 10, 12};
  for (int power = 0; power <= 5; ++power) {
    NFireList shots;
    sounds->played.clear();
    for (int press = 0; press < 10; ++press) shots.Fire(320, 428, power);
    int count = NFireList::kSlots - shots.CountFreeSlots();
    EXPECT_EQ(count, most[power]) << power;
    EXPECT_EQ(sounds->Count(sound::kVolley) * perVolley[power], count) << power;
  }
  NFireList shots;
  shots.Fire(320, 428, 6);
  EXPECT_EQ(shots.CountFreeSlots(), NFireList::kSlots);
}
