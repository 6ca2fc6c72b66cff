#pragma once

#include <string>

#include "shell/name_entry_panel.h"
#include "shell/options_menu.h"
#include "shell/overlay.h"

// What the shell shows over the game; drawn anew only when it changes.
struct ShellScreen {
  bool options = false;
  bool optionsInPlay = false;  // over a game in play: the band and the dimming of PAUSED
  int menuChanges = 0;         // counts the menu's changes, so each one is drawn
  bool paused = false;
  bool quitQuestion = false;  // Escape in a run asks first
  bool typingName = false;    // the name entry's box is up: leave it in sight
  bool titleHint = false;     // the title is up: where the options are (keys or pad)
  bool fast = false;
  bool replay = false;     // a replay is watched
  std::string replayPace;  // after REPLAY: PAUSED, 4X, 16X (empty at 1x)
  std::string pauseKey;    // the key (or pad button) that resumes, as the player has it
  bool touch = false;      // the page's touch buttons are out: name them, not keys
  bool pad = false;        // the pad was used last: name its buttons
  NameEntryScreen nameEntry;
  std::string notice;
  bool hallQuestion = false;  // a run just ended may go to the hall of fame
  std::string retryAnswers;   // a practice run is over: RETRY or the title, and how

  bool operator==(const ShellScreen&) const = default;
};

// Draws the screen: the options, else PAUSED with its keys over the frozen
// picture; FAST in the status row's free middle; REPLAY at the right end of
// the bottom row; a notice below the status row.
// With touch, the hints name the page's buttons instead of keys.
void DrawShellScreen(const ShellScreen& screen, const OptionsMenu& menu, Overlay& overlay);
