#pragma once

#include <memory>
#include <optional>

#include "app/scene.h"
#include "scenes/scene_frame.h"

class NAscii;
class NPotionChara;
class NScript;
class NSprite256;
class Surface;

// The games the menu's EPISODE items start, numbered 1 to 3 as the menu
// shows them.
struct EpisodeGame {
  int stage = 0;
  int level = 0;
  int potions = 0;
};
constexpr int kEpisodes = 3;
// The game of an episode; nothing outside 1..kEpisodes.
std::optional<EpisodeGame> GameOfEpisode(int episode);
// The episode that starts exactly this game, or 0.
int EpisodeOfGame(int stage, int level, int potions);

// The hub of the program: a five-item menu (episodes 1 to 3, ranking, exit)
// over the drifting tiles, the title logo between two ornaments and the
// witch flying in from the left, with the title tune.
class NTitle : public Scene {
 public:
  static constexpr int kMenuItems = 5;

  NTitle();
  ~NTitle() override;

  void Start() override;
  void Update() override;

 private:
  void HandleInput();
  void Choose();
  void Draw();

  std::unique_ptr<NScript> script;
  std::unique_ptr<NPotionChara> character;
  std::unique_ptr<NSprite256> tile;
  std::unique_ptr<NSprite256> logo;
  std::unique_ptr<NSprite256> leftOrnament;
  std::unique_ptr<NSprite256> rightOrnament;
  std::unique_ptr<NSprite256> leftCursor;
  std::unique_ptr<NSprite256> rightCursor;
  std::unique_ptr<NSprite256> menu;
  std::unique_ptr<NAscii> font;
  int selection = 0;
  SceneFrame frame;
  int frameCounter = 0;
  Surface* backBuffer = nullptr;
};
