#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/replay_shelf.h"
#include "shell/options_menu.h"
#include "shell/overlay.h"
#include "shell/session_request.h"

// A kept run to send to the hall of fame: the name it is ranked under and
// its file.
struct RunToSend {
  std::string name;
  std::string replay;
};

// REPLAYS in the options: the kept runs, newest first, one line each (date,
// start, potions at the end, furthest stage-level, minutes, RANKED n or
// PRACTICE, KEPT), and what to do with the chosen one: WATCH, KEEP, EXPORT,
// DELETE (after a question), SEND to the hall of fame (after the offer's
// question, where a hall is set), BACK. Up and Down choose the run, Left and
// Right the action, Enter does it.
class ReplaysPage {
 public:
  // Reads the folder's index; ranking decides the RANKED places. hall: a
  // hall of fame is set, and SEND offers the chosen run to it.
  void Open(const std::filesystem::path& folder, const std::filesystem::path& exports,
            const std::array<RankEntry, kRankEntries>& ranking, bool hall);
  // False when the page closes; a WATCH leaves its request.
  bool Press(MenuInput input);
  std::optional<SessionRequest> TakeRequest();
  // The run the player said to send, once.
  std::optional<RunToSend> TakeSend();
  bool HasRequest() const { return request_.has_value(); }
  void Draw(Overlay& overlay) const;

  // One run's line as the list shows it.
  static std::string Line(const ShelfEntry& run, int place);

 private:
  enum RunAction { kWatch, kKeep, kExport, kDelete, kSend, kBack };
  enum class Asking { Nothing, Delete, Send };
  void Do();
  void Reload();

  std::filesystem::path folder_;
  std::filesystem::path exports_;
  std::array<RankEntry, kRankEntries> ranking_{};
  std::vector<ShelfEntry> runs_;  // newest first
  std::vector<int> places_;
  int chosen_ = 0;
  std::vector<RunAction> actions_;
  int action_ = 0;  // in actions_
  Asking asking_ = Asking::Nothing;
  std::string said_;
  std::optional<SessionRequest> request_;
  std::optional<RunToSend> send_;
};
