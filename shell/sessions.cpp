#include "shell/sessions.h"

#include "app/application.h"
#include "app/main_loop.h"
#include "app/run_tracker.h"
#include "base/utf8_path.h"
#include "shell/shell.h"

Options SessionOptions(const Options& given, const SessionRequest& next, const std::filesystem::path& shelf) {
  Options o = given;
  o.watch = o.practice = false;
  o.toTitle = next.kind == SessionRequest::Kind::Title;
  o.inputFile.clear();
  o.startStage.reset();
  if (o.keepFolder.empty() && !o.keepNone) o.keepFolder = Utf8Of(shelf);
  if (next.kind == SessionRequest::Kind::Watch) {
    o.watch = true;
    o.inputFile = Utf8Of(shelf / PathFromUtf8(next.file));
    o.keepFolder.clear();
  } else if (next.kind == SessionRequest::Kind::Practice) {
    o.practice = true;
    o.startStage = next.stage;
    o.startLevel = next.level;
    o.startPotions = next.potions;
  }
  return o;
}

int PlaySessions(const Options& given, PlatformServices& services, Shell& shell, SceneFactory& scenes,
                 InputDriver* driver, const std::function<void(Application&)>& started) {
  // The window opens once; the sessions after the first play in it.
  services.openWindow = [open = services.openWindow, opened = false]() mutable { return opened || (opened = open()); };
  // Where the runs are kept is where REPLAYS looks; how far they got is
  // what PRACTICE offers.
  if (!given.keepFolder.empty()) shell.SetShelf(given.keepFolder, shell.Shelf().exports);
  services.runKept = [&shell](const RunSummary& kept) { shell.NoteReached(kept.furthestStage, kept.furthestLevel); };
  Options session = given;
  while (true) {
    Application application(session, services, scenes, driver);
    if (std::optional<int> code = application.Start()) return *code;
    shell.Attach(application.Loop());
    if (started) started(application);
    application.Loop().Run();
    int code = application.Finish();
    std::optional<SessionRequest> next = shell.TakeNextSession();
    if (!next) return code;
    session = SessionOptions(given, *next, shell.Shelf().folder);
  }
}
