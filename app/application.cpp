#include "app/application.h"

#include <cstdio>
#include <memory>

#include "app/app_block.h"
#include "app/hall_offer.h"
#include "app/host.h"
#include "app/input_script.h"
#include "app/launch_seed.h"
#include "app/main_loop.h"
#include "app/picture_log.h"
#include "app/ranking.h"
#include "app/replay_shelf.h"
#include "app/replay_watch.h"
#include "app/run_recorder.h"
#include "app/run_start.h"
#include "app/sequencer.h"
#include "app/shutdown.h"
#include "app/stats_log.h"
#include "audio/game_sounds.h"
#include "audio/music.h"
#include "audio/sound_list.h"
#include "audio/sound_log.h"
#include "base/math_util.h"
#include "base/output_file.h"
#include "base/utf8_path.h"
#include "game/game.h"
#include "game/map.h"
#include "generated/resource_ids.h"
#include "gfx/display.h"
#include "input/input.h"

namespace {
constexpr uint32_t kHeadlessSeed = 1;
constexpr int kBadCommandLine = 2;  // exit code: a level, an input file or an output it cannot have
constexpr int kOutputLost = 1;      // exit code: a recording or a log stopped short
}  // namespace

struct Application::Parts {
  explicit Parts(SceneFactory& factory) : sequencer(factory) {}
  Sequencer sequencer;
  StatsLog stats;
  PictureLog pictures;
  OutputFile record;
  std::unique_ptr<RunRecorder> runs;
  RunTracker practice;
};

int RunApplication(const Options& options, PlatformServices& services, SceneFactory& factory, InputDriver* driver) {
  Application application(options, services, factory, driver);
  if (std::optional<int> code = application.Start()) return *code;
  application.Loop().Run();
  return application.Finish();
}

Application::Application(const Options& options, PlatformServices& services, SceneFactory& factory, InputDriver* driver)
    : options_(options), services_(services), factory_(factory), driver_(driver) {}

Application::~Application() = default;

// Each step runs even after an earlier one failed: Shutdown has already
// asked the loop to end, and a later failure only shows its own message.
void Application::UseScript(InputScript script, bool firstRunOnly) {
  replay_ = std::move(script);
  firstRunOnly_ = firstRunOnly;
}

std::optional<int> Application::Start() {
  if (!LoadReplay()) return kBadCommandLine;
  std::optional<LoopConfig> loop = LoopSettings();
  if (!loop) return kBadCommandLine;
  ResetShutdown();
  ResetOutputFailed();
  parts_ = std::make_unique<Parts>(factory_);
  // Before a window opens: a session that cannot be kept is not begun.
  if (!OpenOutputs(*loop)) {
    CloseSoundLog();
    parts_.reset();
    return kBadCommandLine;
  }
  SetShutdownTargets(services_.host, &parts_->sequencer);
  SeedRandom(loop->seed);
  FillDirectionTables();
  services_.host->ShowCursor(false);
  FillAppBlock();
  OpenWindowAndDisplay();
  OpenInput();
  OpenSound();
  OpenRanking();
  // A run kept alone begins at its game start with what it began with.
  if (replay_ && replay_->run) ApplyRunStart(*replay_->run);
  loop_ = std::make_unique<MainLoop>(*services_.host, parts_->sequencer, std::move(*loop));
  WatchLogs();
  WatchReplay();
  KeepRuns();
  EndWithPractice();
  return std::nullopt;
}

// The options' input file, unless a script was handed over; false when it
// cannot be read or its run starts at a level its stage does not have.
bool Application::LoadReplay() {
  if (!replay_ && !options_.inputFile.empty()) {
    std::string error;
    replay_ = LoadInputScript(options_.inputFile, error);
    if (!replay_) {
      std::fprintf(stderr, "velloria: %s\n", error.c_str());
      return false;
    }
  }
  if (!replay_ || !replay_->run) return true;
  const StartPoint& start = replay_->run->point;
  NMap map;
  map.Load(start.stage);
  if (start.level > map.GetLevelCount()) {
    std::fprintf(stderr, "velloria: the replay starts at stage %d, which has levels 1 to %d\n", start.stage,
                 map.GetLevelCount());
    return false;
  }
  return true;
}

// What the loop runs on: the options, the platform's pad and pacing, the
// replayed input file and the driver. Nothing when the command line asks for
// a level the stage does not have or the file cannot be read.
std::optional<LoopConfig> Application::LoopSettings() const {
  LoopConfig loop;
  loop.headless = options_.headless;
  loop.frames = options_.frames;
  loop.shots = options_.shots;
  // A watched replay plays its own pad, never the one in the player's hands.
  loop.joystick = options_.watch ? nullptr : services_.joystick;
  loop.steadyPacing = services_.steadyPacing;
  loop.driver = driver_;
  loop.holdToFire = services_.holdToFire;
  loop.screenshots = !firstRunOnly_ && !options_.watch;
  if (options_.startStage) {
    NMap map;
    map.Load(*options_.startStage);
    if (options_.startLevel > map.GetLevelCount()) {
      std::fprintf(stderr, "velloria: --start: stage %d has levels 1 to %d\n", *options_.startStage,
                   map.GetLevelCount());
      return std::nullopt;
    }
  }
  std::optional<uint32_t> replaySeed;
  if (replay_) {
    loop.script = replay_->events;
    loop.holdToFire = replay_->holdToFire;
    replaySeed = replay_->seed;
  }
  // A replayed session brings its own seed unless the command line names one.
  loop.seed = options_.seed       ? *options_.seed
              : replaySeed        ? *replaySeed
              : options_.headless ? kHeadlessSeed
                                  : LaunchSeed();
  return loop;
}

// --start skips the logo and the title: the first frame builds the game.
void Application::FillAppBlock() {
  ResetAppBlock();
  AppBlock& app = GetAppBlock();
  if (options_.toTitle) app.sceneState = scene_state::kTitleStart;
  if (!options_.startStage) return;
  app.startStage = *options_.startStage;
  app.startLevel = options_.startLevel;
  app.potionsCarried = options_.startPotions;
  app.sceneState = scene_state::kGameStart;
}

void Application::OpenWindowAndDisplay() {
  if (!services_.openWindow()) Shutdown("Failed to create application window.");
  if (!CreateDisplay(services_.presenter)) {
    Shutdown("Failed to create DirectDraw object.");
    return;
  }
  SetCooperativeFlags(services_.fullScreen ? kCooperativeFullScreenExclusive : kCooperativeNormal);
  SetPictureDrawn(!options_.noPicture);
  if (!SetDisplayMode()) {
    Shutdown("Failed to set up Full-screen mode.");
  } else if (!InitPalette(bitmap::kPalette)) {
    Shutdown("Failed to initialise palette.");
  }
}

void Application::OpenInput() {
  if (!InitInput()) Shutdown("Failed to create DirectInput object.");
}

void Application::OpenSound() {
  SetMusicDevice(options_.mute ? nullptr : services_.music);
  GetAppBlock().soundList = std::make_unique<NSoundList>(options_.mute ? nullptr : services_.audio);
  LoadGameSounds(*GetAppBlock().soundList);
}

// Headless runs play with the default ranking and save nothing, so that a
// replay is the same on every machine.
void Application::OpenRanking() {
  // A run kept alone brings its ranking and never saves one.
  bool keptRun = (replay_ && replay_->run) || options_.watch || options_.practice;
  SetRankingPlace(keptRun                         ? RankingPlace::Memory
                  : !options_.rankingFile.empty() ? RankingPlace::File
                  : options_.headless             ? RankingPlace::Memory
                                                  : RankingPlace::UserSettings,
                  options_.rankingFile);
  LoadRanking();
}

// The recorded session and the logs for tests, each opened (and told when
// it cannot be) before the run begins; false when one cannot.
bool Application::OpenOutputs(LoopConfig& loop) {
  if (!options_.soundLog.empty()) OpenSoundLog(options_.soundLog);
  if (!options_.statsFile.empty()) parts_->stats.Open(options_.statsFile);
  if (!options_.pictureLog.empty()) parts_->pictures.Open(options_.pictureLog);
  if (!options_.recordFile.empty() && parts_->record.Open(options_.recordFile, "the session is not recorded")) {
    loop.record = &parts_->record;
  }
  return !OutputFailed();
}

void Application::WatchLogs() {
  StatsLog& stats = parts_->stats;
  if (!options_.statsFile.empty()) loop_->OnTick([&stats](int64_t frame, bool) { stats.Write(frame); });
  PictureLog& pictures = parts_->pictures;
  if (!options_.pictureLog.empty()) {
    loop_->OnTick([&pictures](int64_t frame, bool ran) { pictures.Write(frame, ran); });
  }
}

// A replayed file's checks, and the end of the run it keeps.
void Application::WatchReplay() {
  if (!replay_) return;
  watch_ = std::make_unique<ReplayWatch>(*replay_, firstRunOnly_ || replay_->run.has_value());
  watch_->Attach(*loop_);
}

// Every run played, kept as a replay of its own; never the runs of a replay.
// Without a folder each run is still followed, to say it was not kept.
void Application::KeepRuns() {
  if ((options_.keepFolder.empty() && !options_.keepWithoutFolder) || replay_) return;
  std::filesystem::path folder = PathFromUtf8(options_.keepFolder);
  auto told = services_.runKept;
  parts_->runs = std::make_unique<RunRecorder>([folder, told](const KeptRun& run) {
    KeepRun(folder, run, GetAppBlock().ranking);
    OfferRun(run);
    if (told) told(run.summary);
  });
  parts_->runs->Attach(*loop_, PracticeStart());
}

std::optional<StartPoint> Application::PracticeStart() const {
  if (!options_.practice || !options_.startStage) return std::nullopt;
  return StartPoint{StartKind::Practice, 0, *options_.startStage, options_.startLevel, options_.startPotions};
}

// A practice run is the whole session: it ends at the game over, before a
// name entry or a continue (nothing of it is for the ranking), or with the
// ending.
void Application::EndWithPractice() {
  if (!options_.practice || replay_) return;
  RunTracker& tracker = parts_->practice;
  tracker.Prime(PracticeStart());
  MainLoop& loop = *loop_;
  loop_->OnTick([&tracker, &loop, over = services_.practiceOver, start = PracticeStart().value_or(StartPoint{}),
                 told = false](int64_t frame, bool) mutable {
    const NGame* game = CurrentGame();
    int state = game ? game->Snapshot().state : game_state::kIdle;
    if (told || !(tracker.AfterFrame(frame) == RunTracker::Turn::Ended || state == game_state::kNameEntry ||
                  state == game_state::kHandOver)) {
      return;
    }
    told = true;
    if (over) {
      over(start);
    } else {
      loop.EndAfterThisTick();
    }
  });
}

int Application::Finish() {
  if (parts_ && parts_->runs) parts_->runs->Finish();
  if (watch_ && watch_->Differed() && !firstRunOnly_) std::fprintf(stderr, "velloria: %s\n", watch_->Message().c_str());
  // Every way out of the loop went through Shutdown, which logged its close.
  // The files written as the run went are closed first: their last writes
  // may fail too, and the exit code tells.
  CloseSoundLog();
  parts_->stats.Close();
  parts_->pictures.Close();
  parts_->record.Close();
  int code = QuitCode();
  if (code == 0 && OutputFailed()) code = kOutputLost;
  Shutdown(nullptr);  // releases whatever a failed start-up left behind
  SetMusicDevice(nullptr);
  SetShutdownTargets(nullptr, nullptr);
  return code;
}
