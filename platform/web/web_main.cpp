// The browser page's entry: the page (page.js) passes its URL parameters as
// the command line, the resources are unpacked, and once the player has
// pressed or tapped to play, the run is driven from the page's animation
// frames until it ends. "Play again" starts a new run, "Watch a replay" one
// that plays an input file; a session the options ask for (a kept run
// watched, a practice run, the title again) follows the one that ended.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_block.h"
#include "app/application.h"
#include "app/game_scenes.h"
#include "app/input_script.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "app/scene.h"
#include "app/shutdown.h"
#include "app/stats_log.h"
#include "base/frame_clock.h"
#include "base/packed_resources.h"
#include "drivers/input_drivers.h"
#include "gfx/display.h"
#include "gfx/scale.h"
#include "platform/web/web_hall_sender.h"
#include "platform/web/web_kept_runs.h"
#include "platform/web/web_platform.h"
#include "platform/web/web_sessions.h"
#include "platform/web/web_settings_store.h"
#include "shell/run_settings.h"
#include "shell/settings_file.h"
#include "shell/shell.h"

namespace {

// Every run the player plays is recorded here, in the program's own memory,
// for the page's "Save replay".
constexpr const char* kRecordFile = "/replay/last.txt";
// A headless run's frames run back to back for this long in each animation
// frame, so that the page still paints and takes its events.
constexpr double kHeadlessBatchMs = 20;
// How often the pad is looked at while the game is paused.
constexpr int kPadLookMs = 50;

// clang-format off
EM_JS(void, PageUnpack, (const uint8_t* packed, int packedSize, uint8_t* out, int outSize),
      { VelloriaPage.unpack(HEAPU8.slice(packed, packed + packedSize), out, outSize); });
EM_JS(void, PageCannotStart, (const char* text), { VelloriaPage.cannotStart(UTF8ToString(text)); });
EM_JS(void, PageProgramReady, (), { VelloriaPage.programReady(); });
EM_JS(void, PageRunStarted, (const char* recordFile), { VelloriaPage.runStarted(UTF8ToString(recordFile)); });
EM_JS(void, PageRunEnded, (int code), { VelloriaPage.runEnded(code); });
EM_JS(void, PageNaming, (int naming), { VelloriaPage.naming(naming !== 0); });
EM_JS(int, PageWantsPicture, (int frame), { return VelloriaPage.wantsPicture(frame) ? 1 : 0; });
EM_JS(void, PageKeepPicture, (int frame, const uint8_t* indices, int width, int height, const uint8_t* palette), {
  VelloriaPage.keepPicture(frame, HEAPU8.slice(indices, indices + width * height), width, height,
                           HEAPU8.slice(palette, palette + 768));
});
// clang-format on

struct Run {
  // The command line from the page's URL, and this run's.
  Options base;
  Options options;
  GameSceneFactory scenes;
  std::unique_ptr<InputDriver> driver;
  std::unique_ptr<WebPlatform> platform;
  // The player's settings.ini in the page's storage: read and kept by every
  // run that is not headless, a watched replay too (which keeps no ranking),
  // and between runs by the page's buttons.
  WebSettingsStore playerStore;
  std::unique_ptr<SettingsFile> settings;
  std::unique_ptr<Shell> shell;
  std::unique_ptr<Application> application;
  bool ready = false;
  bool inLoop = false;
  // The name entry is under way (the page then offers a text field, which
  // opens a phone's keyboard).
  bool naming = false;
  // The page's touch buttons are out (the shell's hints name them).
  bool touchButtons = false;
  // A look at the loop is scheduled. None is while the game waits for an
  // event (paused), so that nothing runs then.
  bool scheduled = false;
  // While paused the pad is looked at now and then: a browser sends no
  // event for its buttons, and Start or Back ends the pause or moves in
  // the options.
  bool padWatched = false;
  JoystickReading padSeen;
  // An input file to play once the run in progress has ended.
  std::optional<std::string> watchNext;
  PageSessions sessions;
  // Runs go to the hall the settings name, else to the one that served the
  // page (none when a plain server did); the sender outlives the runs.
  std::string ownHall;
  std::unique_ptr<HallSender> hall = CreateWebHallSender();
};

std::unique_ptr<Run> run;

// The picture presented after a frame, for the page's replay checks: the
// 8-bit indices row by row and the palette as red, green, blue.
void KeepPicture(int64_t frame, bool wanted) {
  const Surface* back = GetBackSurface();
  if (!back || !wanted) return;
  std::vector<uint8_t> indices;
  indices.reserve(static_cast<size_t>(back->Width()) * static_cast<size_t>(back->Height()));
  for (int y = 0; y < back->Height(); ++y) indices.insert(indices.end(), back->Row(y), back->Row(y) + back->Width());
  std::vector<uint8_t> palette;
  for (const PaletteEntry& e : GetPalette()) palette.insert(palette.end(), {e.red, e.green, e.blue});
  PageKeepPicture(static_cast<int>(frame), indices.data(), back->Width(), back->Height(), palette.data());
}

// Runs what is due; returns how long the loop may wait (-1: for an event).
int RunDue() {
  if (!run || !run->application || run->inLoop) return 0;
  run->inLoop = true;
  int wait = 0;
  if (run->options.headless) {
    double end = emscripten_get_now() + kHeadlessBatchMs;
    while (run->application->Loop().HeadlessIteration() && emscripten_get_now() < end) {
    }
    if (!IsQuitRequested()) run->platform->Host().ShowLastPicture();
  } else {
    wait = run->application->Loop().RunDue();
  }
  run->inLoop = false;
  PassKeptRunsOn();
  // The game's own hot keys are off exactly while a name is typed.
  bool naming = !IsQuitRequested() && GetAppBlock().hotkeysEnabled == 0;
  if (naming != run->naming) PageNaming(naming ? 1 : 0);
  run->naming = naming;
  return wait;
}

void BeginRun(const Options& options);
Options PlayersOptions();

// The player's settings file when no run holds it.
SettingsFile StoredSettings() { return SettingsFile(SettingsFile::DefaultPath(), &run->playerStore); }

// Plays the input file asked for: the page's command line with that file,
// recording nothing.
void BeginWatching() {
  Options watch = run->base;
  watch.inputFile = *run->watchNext;
  watch.recordFile.clear();
  run->watchNext.reset();
  BeginRun(watch);
}

void EndRun() {
  int code = run->application->Finish();
  PassKeptRunsOn();
  std::optional<Options> next = run->sessions.Next(PlayersOptions(), *run->shell);
  run->application.reset();
  run->shell.reset();
  run->platform.reset();
  if (run->naming) PageNaming(0);
  run->naming = false;
  if (run->watchNext) {
    BeginWatching();
    return;
  }
  if (next) {
    BeginRun(*next);
    return;
  }
  PageRunEnded(code);
}

void Schedule(int wait);
void WatchPad();
void Wake();

EM_BOOL OnAnimationFrame(double, void*) {
  run->scheduled = false;
  if (!run->application) return EM_FALSE;
  int wait = RunDue();
  if (IsQuitRequested()) {
    EndRun();
    return EM_FALSE;
  }
  if (wait >= 0) {
    Schedule(wait);
  } else {
    WatchPad();  // paused: nothing runs until an event, or the pad changes
  }
  return EM_FALSE;
}

void OnTimer(void*) { OnAnimationFrame(0, nullptr); }

void OnPadTimer(void*) {
  run->padWatched = false;
  if (!run->application || run->scheduled) return;
  JoystickReading now = run->platform->Pad().Read();
  if (now != run->padSeen) {
    Wake();
  } else {
    WatchPad();
  }
}

// Only once the browser has shown a pad (it does at a button's press): a
// page without one does nothing at all while paused.
void WatchPad() {
  if (run->padWatched || !run->platform) return;
  run->padSeen = run->platform->Pad().Read();
  if (!run->padSeen.present) return;
  run->padWatched = true;
  emscripten_set_timeout(OnPadTimer, kPadLookMs, nullptr);
}

// The next look at the loop: a timer for when the next game frame falls due
// (a millisecond after, so that it never comes a little early and has to
// wait again), or the next animation frame when one is due now. The page so
// does its work 25 times a second, not at the display's rate.
void Schedule(int wait) {
  if (run->scheduled) return;
  run->scheduled = true;
  if (wait > 0) {
    emscripten_set_timeout(OnTimer, wait + 1, nullptr);
  } else {
    emscripten_request_animation_frame(OnAnimationFrame, nullptr);
  }
}

void KeepLooping() {
  if (run->application) Schedule(0);
}

// An event came: a focus change is handled at once (a page in the
// background gets no animation frames, yet must pause now), and a loop that
// stopped while paused starts again.
void Wake() {
  RunDue();
  KeepLooping();
}

void BeginRun(const Options& options) {
  run->options = options;
  run->driver = MakeInputDriver(run->options);  // every run starts with a fresh one
  run->platform = std::make_unique<WebPlatform>(run->options);
  // The settings live in the page's storage; a headless run keeps none.
  run->settings = std::make_unique<SettingsFile>(SettingsPathFor(run->options), &run->playerStore);
  const Settings saved = run->settings->Load();
  Settings forRun = ForThisRun(saved, run->options);
  if (forRun.hallOfFame.empty()) forRun.hallOfFame = run->ownHall;  // for this run only, never saved
  PlatformServices& services = run->platform->Services();
  run->shell = std::make_unique<Shell>(*services.host, *run->platform, *run->settings, saved, forRun);
  run->shell->SetTouchHints(run->touchButtons);
  run->shell->SetHallSender(run->hall.get());
  run->shell->Wrap(services);
  run->sessions.Equip(run->options, *run->shell, services);
  run->application = std::make_unique<Application>(run->options, services, run->scenes, run->driver.get());
  if (std::optional<int> code = run->application->Start()) {
    run->application.reset();
    run->shell.reset();
    run->platform.reset();
    PageRunEnded(*code);
    return;
  }
  run->shell->Attach(run->application->Loop());
  run->platform->Host().OnEvent(Wake);
  run->application->Loop().OnTick(
      [](int64_t frame, bool) { KeepPicture(frame, PageWantsPicture(static_cast<int>(frame)) != 0); });
  PageRunStarted(run->options.recordFile.c_str());
  KeepLooping();
}

// A new run as the page's URL asks, recorded and kept unless it replays a
// file.
Options PlayersOptions() {
  Options options = run->base;
  if (options.inputFile.empty() && options.recordFile.empty() && !options.headless) options.recordFile = kRecordFile;
  PageSessions::KeepRuns(options);
  return options;
}

void BeginPlayersRun() { BeginRun(PlayersOptions()); }

}  // namespace

// Calls from the page.
extern "C" {

EMSCRIPTEN_KEEPALIVE void velloria_resources_unpacked(int ok) {
  if (!ok) {
    PageCannotStart("The game's pictures and sounds could not be unpacked.");
    return;
  }
  // The runs kept before are there before the first run starts.
  LoadKeptRuns([] {
    run->ready = true;
    PageProgramReady();
  });
}

// The player pressed or tapped to play (or "Play again").
EMSCRIPTEN_KEEPALIVE void velloria_begin() {
  if (run && run->ready && !run->application) BeginPlayersRun();
}

// Plays an input file the page wrote into the program's files, ending the
// run in progress first.
EMSCRIPTEN_KEEPALIVE void velloria_watch(const char* path) {
  if (!run || !run->ready) return;
  run->watchNext = path;
  if (run->application) {
    Shutdown(nullptr);
    KeepLooping();  // the loop ends the run and starts the replay
  } else {
    BeginWatching();
  }
}

EMSCRIPTEN_KEEPALIVE void velloria_game_focus(int focused) {
  if (run && run->platform) run->platform->Host().SetGameFocused(focused != 0);
}

// The --stats line of the coming frame, then paused=0/1, options=0/1 and
// hall=0/1 (the hall of fame's question is asked).
EMSCRIPTEN_KEEPALIVE const char* velloria_status() {
  static std::string line;
  bool options = run && run->shell && run->shell->OptionsOpen();
  bool asking = run && run->shell && run->shell->AsksToSend();
  line = StatsLog::Line(CurrentFrame()) + " paused=" + std::to_string(GetAppBlock().paused) +
         " options=" + std::to_string(options ? 1 : 0) + " hall=" + std::to_string(asking ? 1 : 0);
  return line.c_str();
}

// The shell's notice on show, empty when none.
EMSCRIPTEN_KEEPALIVE const char* velloria_notice() { return run && run->shell ? run->shell->Notice().c_str() : ""; }

// The hall of fame that served the page (its address), from the next run on.
EMSCRIPTEN_KEEPALIVE void velloria_own_hall(const char* url) {
  if (run && url) run->ownHall = url;
}

// Why the input file at path cannot be played, as the program says it when
// it reads one; empty when it can. The page asks before it ends a run for it.
EMSCRIPTEN_KEEPALIVE const char* velloria_check_input(const char* path) {
  static std::string error;
  error.clear();
  if (!LoadInputScript(path ? path : "", error) && error.empty()) error = "it cannot be read";
  return error.c_str();
}

// Whether the player's own game is under way (from GET READY to the end of
// the name entry, and the continue screen): the page asks before it is left.
EMSCRIPTEN_KEEPALIVE int velloria_game_in_progress() {
  if (!run || !run->application || run->options.headless || !run->options.inputFile.empty()) return 0;
  switch (GetAppBlock().sceneState) {
    case scene_state::kGameStart:
    case scene_state::kGameRunning:
    case scene_state::kContinueStart:
    case scene_state::kContinueRunning:
      return 1;
    default:
      return 0;
  }
}

// The game's own picture as it stands (the one last presented, without the
// shell's layer), kept as a wanted one is; returns its frame, -1 without one.
EMSCRIPTEN_KEEPALIVE int velloria_keep_picture() {
  if (!run || !run->application || !GetBackSurface()) return -1;
  int frame = static_cast<int>(CurrentFrame());
  KeepPicture(frame, true);
  return frame;
}

// The page's touch buttons send their keys between a call with 1 and one
// with 0: the game's own keys, which the player's bindings leave alone.
EMSCRIPTEN_KEEPALIVE void velloria_button_keys(int on) { SetPageButtonKeys(on != 0); }

// The page shows (1) or hides (0) its touch buttons: the shell's hints then
// name the buttons rather than keys.
EMSCRIPTEN_KEEPALIVE void velloria_touch_controls(int shown) {
  if (!run) return;
  run->touchButtons = shown != 0;
  if (run->shell) run->shell->SetTouchHints(run->touchButtons);
  Wake();
}

// Whether a picture left to the screen (fit unset) fills a room of width x
// height: the desktop's rule, so the page and the window agree.
EMSCRIPTEN_KEEPALIVE int velloria_auto_fills(int width, int height) {
  constexpr int kPictureWidth = 640;
  constexpr int kPictureHeight = 480;
  return ChosenFit(Fit::Auto, kPictureWidth, kPictureHeight, width, height) == Fit::Fill ? 1 : 0;
}

// The options: opened or closed as F1 does (the page's Options button).
EMSCRIPTEN_KEEPALIVE void velloria_options() {
  if (!run || !run->shell) return;
  run->shell->ToggleOptions();
  Wake();
}

// The player's settings as settings.ini holds them, one "key=value" a line:
// the run's, or between runs the stored ones.
EMSCRIPTEN_KEEPALIVE const char* velloria_settings() {
  static std::string text;
  if (!run) return "";
  text = FormatSettings(run->shell ? run->shell->Current() : StoredSettings().Load(), "");
  return text.c_str();
}

// Changes one setting as the options would ("fit", "fill"): applied at once
// and kept, or between runs kept for the next; 0 when the value is refused.
EMSCRIPTEN_KEEPALIVE int velloria_set_setting(const char* key, const char* value) {
  if (!run || !key || !value || !IsSettingKey(key)) return 0;
  std::optional<SettingsFile> stored;
  if (!run->shell) stored = StoredSettings();
  Settings wanted = run->shell ? run->shell->Current() : stored->Load();
  std::vector<std::string> complaints;
  wanted = ParseSettings(FormatSettings(wanted, "") + std::string(key) + "=" + std::string(value) + "\n", complaints);
  if (!complaints.empty()) return 0;
  if (stored) {
    stored->Save(wanted);
    return 1;
  }
  run->shell->ChangeSettings(wanted);
  Wake();
  return 1;
}

// The ranking in play, one "score,name" line per place.
EMSCRIPTEN_KEEPALIVE const char* velloria_ranking() {
  static std::string text;
  text.clear();
  for (int i = 0; i < kRankEntries; ++i) {
    text += std::to_string(GetRankEntry(i).score) + "," + GetRankEntry(i).name + "\n";
  }
  return text.c_str();
}

}  // extern "C"

int main(int argc, char** argv) {
  std::string error;
  std::optional<Options> options = ParseOptions(argc, argv, error);
  if (!options) {
    PageCannotStart(error.c_str());
    return 0;
  }
  run = std::make_unique<Run>();
  run->base = *options;
  run->scenes.SetInvulnerable(options->invulnerable);
  PackedResources resources = GetPackedResources();
  PageUnpack(resources.packed.data(), static_cast<int>(resources.packed.size()), resources.unpacked.data(),
             static_cast<int>(resources.unpacked.size()));
  return 0;
}
