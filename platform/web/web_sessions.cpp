#include "platform/web/web_sessions.h"

#include "app/application.h"
#include "app/run_tracker.h"
#include "platform/web/web_kept_runs.h"
#include "shell/sessions.h"
#include "shell/shell.h"

void PageSessions::KeepRuns(Options& options) {
  if (!options.headless && options.inputFile.empty()) options.keepFolder = kKeptRunsFolder;
}

void PageSessions::Equip(const Options& options, Shell& shell, PlatformServices& services) {
  if (options.headless) return;
  shell.SetWatching(options.watch);
  if (openReplays_) shell.OpenReplaysOnTitle();
  openReplays_ = false;
  shell.SetShelf(kKeptRunsFolder, kExportsFolder);
  services.runKept = [&shell](const RunSummary& kept) { shell.NoteReached(kept.furthestStage, kept.furthestLevel); };
}

std::optional<Options> PageSessions::Next(const Options& players, Shell& shell) {
  // Each session has a shell of its own, so the page remembers what the
  // desktop's one shell does: a watched or practice run returns to the title.
  std::optional<SessionRequest> next = shell.TakeNextSession();
  if (!next && titleAfter_) next = SessionRequest{};
  titleAfter_ = next && next->kind != SessionRequest::Kind::Title;
  openReplays_ = next && next->openReplays;
  if (!next) return std::nullopt;
  Options options = SessionOptions(players, *next, kKeptRunsFolder);
  // "Save replay" keeps the player's last session, never a watched one.
  if (options.watch) options.recordFile.clear();
  return options;
}
