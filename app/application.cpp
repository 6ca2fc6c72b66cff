#include "app/application.h"

#include <cstdio>
#include <memory>

#include "app/app_block.h"
#include "app/host.h"
#include "app/input_script.h"
#include "app/launch_seed.h"
#include "app/main_loop.h"
#include "app/picture_log.h"
#include "app/ranking.h"
#include "app/sequencer.h"
#include "app/shutdown.h"
#include "app/stats_log.h"
#include "audio/game_sounds.h"
#include "audio/music.h"
#include "audio/sound_list.h"
#include "audio/sound_log.h"
#include "base/math_util.h"
#include "base/output_file.h"
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
std::optional<int> Application::Start() {
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
  loop_ = std::make_unique<MainLoop>(*services_.host, parts_->sequencer, std::move(*loop));
  WatchLogs();
  return std::nullopt;
}

// What the loop runs on: the options, the platform's pad and pacing, the
// replayed input file and the driver. Nothing when the command line asks for
// a level the stage does not have or the file cannot be read.
std::optional<LoopConfig> Application::LoopSettings() const {
  LoopConfig loop;
  loop.headless = options_.headless;
  loop.frames = options_.frames;
  loop.shots = options_.shots;
  loop.joystick = services_.joystick;
  loop.steadyPacing = services_.steadyPacing;
  loop.driver = driver_;
  loop.holdToFire = services_.holdToFire;
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
  if (!options_.inputFile.empty()) {
    std::string error;
    auto script = LoadInputScript(options_.inputFile, error);
    if (!script) {
      std::fprintf(stderr, "velloria: %s\n", error.c_str());
      return std::nullopt;
    }
    loop.script = std::move(script->events);
    loop.holdToFire = script->holdToFire;
    replaySeed = script->seed;
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
  if (!options_.startStage) return;
  AppBlock& app = GetAppBlock();
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
  SetRankingPlace(!options_.rankingFile.empty() ? RankingPlace::File
                  : options_.headless           ? RankingPlace::Memory
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

int Application::Finish() {
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
