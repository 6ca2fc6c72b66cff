#pragma once

#include <optional>

#include "app/options.h"

class Shell;
struct PlatformServices;

// The sessions of the page, as the desktop plays them one after another:
// the player's runs are kept, and once a session ends the next one the
// options asked for follows (a kept run watched, a practice run, the title
// again after either).
class PageSessions {
 public:
  // The player's own session: its runs are kept.
  static void KeepRuns(Options& options);
  // A session's shell, before it starts: REPLAY while a kept run is
  // watched, REPLAYS on the page's folder, PRACTICE told how far the runs
  // kept got.
  // REPLAYS chosen in a game opens the list over the next title.
  void Equip(const Options& options, Shell& shell, PlatformServices& services);
  // Once a session has ended (its shell still there): the options of the
  // next, from the player's own.
  std::optional<Options> Next(const Options& players, Shell& shell);

 private:
  bool titleAfter_ = false;
  bool openReplays_ = false;
};
