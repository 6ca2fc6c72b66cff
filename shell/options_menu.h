#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "shell/overlay.h"
#include "shell/session_request.h"
#include "shell/settings.h"

// What the player asks of the open options; the shell turns keys and pad
// into these.
enum class MenuInput { Up, Down, Left, Right, Enter, Close };

class ReplaysPage;
class PracticePage;

// Where REPLAYS finds the kept runs and exports them, whether a game is on
// (then leaving it for the list or a practice asks first), and whether a
// hall of fame takes runs sent from the list.
struct ShelfPlace {
  std::filesystem::path folder;
  std::filesystem::path exports;
  bool inGame = false;
  bool hall = false;
};
struct RunToSend;

// The options the player opens with F1: a page of items and a page of
// controls, drawn on the overlay. The menu only edits the settings it is
// given; the shell applies and keeps what changed.
//
//   MUSIC, SOUND      volume, Left/Right by 10 (Enter: up by 10, round to 0)
//   MUTE              OFF / ON: music and effects silent, volumes kept
//   DISPLAY           FULL SCREEN / WINDOW
//   FIT               AUTO / WHOLE / FILL (AUTO: whole factors where they
//                     fill most of the screen, else FILL)
//   CONTROLS          each action with its keys and pad buttons: Enter, then
//                     a key or button adds it to the action or takes it
//                     away (shell/key_meaning.h); DEFAULT KEYS
//   HOLD TO FIRE      OFF / ON
//   REMEMBER NAME     OFF / ON: the last name is typed in for the player
//   CONFIRM QUIT      ON / OFF: Escape in a run asks first
//   REPLAYS           the kept runs (shell/replays_page.h); in a game Enter
//                     asks, and Enter again ends the game for the list
//   PRACTICE          a level reached before (shell/practice_page.h)
//   RESET RANKING     Enter asks, Enter again restores the default places
//   BACK
class OptionsMenu {
 public:
  explicit OptionsMenu(Settings& settings);
  ~OptionsMenu();

  // From the top of the first page.
  void Open(const ShelfPlace& place = {});
  // What REPLAYS or PRACTICE asked to play, once.
  std::optional<SessionRequest> TakeRequest();
  // The kept run REPLAYS said to send to the hall of fame, once.
  std::optional<RunToSend> TakeSend();
  // Straight to the REPLAYS page (the options open already).
  void ShowReplays();
  // False when the input closes the options.
  bool Press(MenuInput input);
  // After Enter on an action the next key is for it (Escape, F1 and F12 are
  // refused like any binding that would take them).
  bool AwaitsKey() const { return awaiting_; }
  bool OnMusic() const { return page_ == Page::Main && item_ == 0; }
  void TakeKey(int code);
  void TakeButton(int button);
  // Whether the player confirmed RESET RANKING since the last call.
  bool TakeResetRanking();
  // touch: the hints name the page's touch buttons rather than keys; pad:
  // the pad's buttons (the pad was used last).
  void Draw(Overlay& overlay, bool touch, bool pad = false) const;

 private:
  enum class Page { Main, Controls, Replays, Practice };
  bool PressMain(MenuInput input);
  bool PressControls(MenuInput input);
  void DrawMain(Overlay& overlay, bool touch, bool pad) const;
  void DrawControls(Overlay& overlay, bool pad) const;

  Settings& settings_;
  ShelfPlace place_;
  std::unique_ptr<ReplaysPage> replays_;
  std::unique_ptr<PracticePage> practice_;
  Page page_ = Page::Main;
  int item_ = 0;
  bool awaiting_ = false;
  bool confirmingReset_ = false;  // RESET RANKING asked, awaiting its answer
  bool resetAsked_ = false;
  bool confirmingReplays_ = false;  // REPLAYS in a game asked whether to end it
  std::optional<SessionRequest> request_;
  // The last change or refusal, shown until the next key.
  std::string said_;
};
