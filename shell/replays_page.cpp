#include "shell/replays_page.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "app/hall_offer.h"
#include "app/shelf_edit.h"
#include "base/utf8_path.h"

namespace {

constexpr int kCentreX = 320;
constexpr int kShownRuns = 10;            // lines of the list at once
constexpr int kLineChars = 51;            // a run's line at its longest
constexpr int64_t kFramesAMinute = 1500;  // 40 ms frames
constexpr std::array<const char*, 6> kActionNames = {"WATCH", "KEEP", "EXPORT", "DELETE", "SEND", "BACK"};

std::string Padded(std::string text, size_t width) {
  if (text.size() < width) text.resize(width, ' ');
  return text;
}

std::string StartText(const StartPoint& p) {
  if (p.kind == StartKind::Episode) return "EPISODE " + std::to_string(p.episode);
  return (p.kind == StartKind::Practice ? "PRACTICE " : "START ") + std::to_string(p.stage) + "-" +
         std::to_string(p.level);
}

}  // namespace

std::string ReplaysPage::Line(const ShelfEntry& run, int place) {
  // 2026-12-08T12:44:55Z shows as 12-08 12.44 (the font has no colon).
  std::string date = run.date.size() >= 16 ? run.date.substr(5, 5) + " " + run.date.substr(11, 5) : run.date;
  std::replace(date.begin(), date.end(), ':', '.');
  int64_t minutes = std::max<int64_t>(1, (run.frames + kFramesAMinute / 2) / kFramesAMinute);
  std::string line = date + " " + Padded(StartText(run.start), 13) + Padded(std::to_string(run.potions) + "P", 5) +
                     Padded(std::to_string(run.stage) + "-" + std::to_string(run.level), 6) +
                     Padded(std::to_string(minutes) + "MIN", 6);
  if (place >= 0) line += "RANKED " + std::to_string(place + 1) + " ";
  if (run.kept) line += "KEPT";
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

void ReplaysPage::Open(const std::filesystem::path& folder, const std::filesystem::path& exports,
                       const std::array<RankEntry, kRankEntries>& ranking, bool hall) {
  folder_ = folder;
  exports_ = exports;
  ranking_ = ranking;
  actions_ = {kWatch, kKeep, kExport, kDelete};
  if (hall) actions_.push_back(kSend);
  actions_.push_back(kBack);
  chosen_ = 0;
  action_ = 0;
  asking_ = Asking::Nothing;
  said_.clear();
  request_.reset();
  send_.reset();
  Reload();
}

void ReplaysPage::Reload() {
  runs_ = ReadShelf(folder_);
  places_ = RankedPlaces(runs_, ranking_);
  std::reverse(runs_.begin(), runs_.end());
  std::reverse(places_.begin(), places_.end());
  chosen_ = std::clamp(chosen_, 0, std::max(0, static_cast<int>(runs_.size()) - 1));
}

std::optional<SessionRequest> ReplaysPage::TakeRequest() { return std::exchange(request_, std::nullopt); }

std::optional<RunToSend> ReplaysPage::TakeSend() { return std::exchange(send_, std::nullopt); }

bool ReplaysPage::Press(MenuInput input) {
  said_.clear();
  if (asking_ != Asking::Nothing) {
    // A question takes Enter for yes; anything else says no.
    Asking asked = asking_;
    asking_ = Asking::Nothing;
    if (input != MenuInput::Enter) return input != MenuInput::Close;
    const ShelfEntry& run = runs_[static_cast<size_t>(chosen_)];
    if (asked == Asking::Send) {
      std::string replay;
      if (FileOutcome read = ReadPlayerFile(Utf8Of(folder_ / PathFromUtf8(run.file)), replay); !read.Done()) {
        said_ = "NOT SENT: THE RUN CANNOT BE READ";
        std::fprintf(stderr, "velloria: cannot send %s: %s\n", run.file.c_str(), read.reason.c_str());
      } else {
        send_ = RunToSend{HallEntryFor(run.start, run.ended, run.entered).nameOrWhy, std::move(replay)};
      }
      return true;
    }
    FileOutcome gone = DeleteKeptRun(folder_, runs_[static_cast<size_t>(chosen_)].file);
    said_ = gone.Done() ? "RUN DELETED" : "NOT DELETED";
    Reload();
    return true;
  }
  int count = static_cast<int>(runs_.size());
  switch (input) {
    case MenuInput::Close:
      return false;
    case MenuInput::Up:
    case MenuInput::Down:
      if (count > 0) chosen_ = (chosen_ + (input == MenuInput::Up ? -1 : 1) + count) % count;
      return true;
    case MenuInput::Left:
    case MenuInput::Right: {
      int actions = static_cast<int>(actions_.size());
      action_ = (action_ + (input == MenuInput::Left ? -1 : 1) + actions) % actions;
      return true;
    }
    case MenuInput::Enter:
      if (actions_[static_cast<size_t>(action_)] == kBack) return false;
      if (count > 0) Do();
      return request_ == std::nullopt;
  }
  return true;
}

void ReplaysPage::Do() {
  const ShelfEntry& run = runs_[static_cast<size_t>(chosen_)];
  switch (actions_[static_cast<size_t>(action_)]) {
    case kWatch:
      request_ = SessionRequest{SessionRequest::Kind::Watch, run.file};
      return;
    case kKeep: {
      bool keep = !run.kept;
      said_ = MarkKept(folder_, run.file, keep).Done() ? (keep ? "KEPT FOR GOOD" : "NO LONGER KEPT") : "NOT SAVED";
      Reload();
      return;
    }
    case kExport: {
      std::string saved;
      FileOutcome outcome = exports_.empty() ? FileOutcome{FileOutcome::Status::Failed, "no documents folder"}
                                             : ExportKeptRun(folder_, run, exports_, saved);
      said_ = outcome.Done() ? "SAVED " + Utf8Of(PathFromUtf8(saved).filename()) : "NOT EXPORTED";
      if (!outcome.Done())
        std::fprintf(stderr, "velloria: cannot export %s: %s\n", run.file.c_str(), outcome.reason.c_str());
      return;
    }
    case kDelete:
      asking_ = Asking::Delete;
      return;
    case kSend: {
      // A run the hall would refuse says why here, before anything is sent.
      HallEntry entry = HallEntryFor(run.start, run.ended, run.entered);
      if (entry.ok) {
        asking_ = Asking::Send;
      } else {
        said_ = entry.nameOrWhy;
      }
      return;
    }
    default:
      return;
  }
}

void ReplaysPage::Draw(Overlay& overlay) const {
  std::string hint = said_;
  if (asking_ == Asking::Delete) hint = "DELETE THIS RUN?  ENTER YES";
  if (asking_ == Asking::Send) hint = "SEND TO THE HALL OF FAME?  ENTER SENDS";
  if (hint.empty()) hint = runs_.empty() ? "NO RUNS KEPT YET" : "UP DOWN RUN  LEFT RIGHT ACTION";
  int shown = std::min(kShownRuns, static_cast<int>(runs_.size()));
  int lines = shown + 6;  // the title, a gap, the runs, a gap, the actions, a gap, the hint
  int width = kLineChars * NAscii::kGlyphWidth;
  auto [panel, x, y] = overlay.OpenPage(width, lines, "REPLAYS");
  int first = std::clamp(chosen_ - kShownRuns / 2, 0, std::max(0, static_cast<int>(runs_.size()) - kShownRuns));
  for (int i = first; i < first + shown; ++i, y += Overlay::kLineHeight) {
    const ShelfEntry& run = runs_[static_cast<size_t>(i)];
    int font = i == chosen_ ? 1 : 0;
    if (i == chosen_) overlay.Highlight({panel.left + 2, y - 2, panel.right - 2, y + NAscii::kGlyphHeight + 2});
    overlay.Text(x, y, Line(run, places_[static_cast<size_t>(i)]), font);
  }
  y += Overlay::kLineHeight;
  int ax = x;
  for (size_t a = 0; a < actions_.size(); ++a) {
    ax = overlay.Text(ax, y, kActionNames[static_cast<size_t>(actions_[a])], static_cast<int>(a) == action_ ? 1 : 0) +
         2 * NAscii::kGlyphWidth;
  }
  overlay.TextCentred(kCentreX, y + 2 * Overlay::kLineHeight, hint, 0);
}
