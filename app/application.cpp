#include "app/application.h"

#include <cstdio>
#include <memory>

#include "app/app_block.h"
#include "app/autopilot.h"
#include "app/host.h"
#include "app/input_script.h"
#include "app/launch_seed.h"
#include "app/main_loop.h"
#include "app/picture_log.h"
#include "app/ranking.h"
#include "app/sequencer.h"
#include "app/shutdown.h"
#include "app/soak_input.h"
#include "app/stats_log.h"
#include "audio/game_sounds.h"
#include "audio/music.h"
#include "audio/sound_list.h"
#include "audio/sound_log.h"
#include "base/math_util.h"
#include "gfx/display.h"
#include "input/input.h"

namespace {
constexpr uint32_t kHeadlessSeed = 1;
constexpr int kPaletteBitmap = 106;
}  // namespace

struct Application::Parts {
  explicit Parts(SceneFactory& factory, const Options& options)
      : sequencer(factory), soak(options.soakSeed.value_or(0)) {}
  Sequencer sequencer;
  Autopilot autopilot;
  SoakInput soak;
  StatsLog stats;
  PictureLog pictures;
};

int RunApplication(const Options& options, PlatformServices& services, SceneFactory& factory) {
  Application application(options, services, factory);
  if (std::optional<int> code = application.Start()) return *code;
  application.Loop().Run();
  return application.Finish();
}

Application::Application(const Options& options, PlatformServices& services, SceneFactory& factory)
    : options_(options), services_(services), factory_(factory) {}

Application::~Application() = default;

std::optional<int> Application::Start() {
  const Options& options = options_;
  PlatformServices& services = services_;
  Host& host = *services.host;
  if (options.autopilot && options.soakSeed) {
    std::fprintf(stderr, "velloria: --autopilot and --soak both drive the keys; choose one\n");
    return 2;
  }
  LoopConfig loop;
  loop.headless = options.headless;
  loop.frames = options.frames;
  loop.recordFile = options.recordFile;
  loop.shots = options.shots;
  loop.joystick = services.joystick;
  loop.steadyPacing = services.steadyPacing;
  std::optional<uint32_t> scriptSeed;
  if (!options.inputFile.empty()) {
    std::string error;
    auto script = LoadInputScript(options.inputFile, error);
    if (!script) {
      std::fprintf(stderr, "velloria: %s\n", error.c_str());
      return 2;
    }
    loop.script = std::move(script->events);
    scriptSeed = script->seed;
  }

  ResetShutdown();
  parts_ = std::make_unique<Parts>(factory_, options);
  Sequencer& sequencer = parts_->sequencer;
  SetShutdownTargets(&host, &sequencer);

  // A replayed session brings its own seed unless the command line names one.
  loop.seed = options.seed ? *options.seed : scriptSeed ? *scriptSeed : options.headless ? kHeadlessSeed : LaunchSeed();
  SeedRandom(loop.seed);
  FillDirectionTables();
  host.ShowCursor(false);
  ResetAppBlock();
  if (options.startStage) {
    AppBlock& app = GetAppBlock();
    app.startStage = *options.startStage;
    app.startLevel = options.startLevel;
    app.potionsCarried = options.startPotions;
    app.sceneState = scene_state::kGameStart;
  }

  // Each step runs even after an earlier one failed; Shutdown has already
  // asked the loop to end and only shows its message.
  if (!services.openWindow()) Shutdown("Failed to create application window.");
  if (!CreateDisplay(services.presenter)) {
    Shutdown("Failed to create DirectDraw object.");
  } else {
    SetCooperativeFlags(services.fullScreen ? kCooperativeFullScreenExclusive : kCooperativeNormal);
    if (!SetDisplayMode()) {
      Shutdown("Failed to set up Full-screen mode.");
    } else if (!InitPalette(kPaletteBitmap)) {
      Shutdown("Failed to initialise palette.");
    }
  }
  if (!InitInput()) Shutdown("Failed to create DirectInput object.");
  if (!options.soundLog.empty() && !OpenSoundLog(options.soundLog)) {
    std::fprintf(stderr, "velloria: cannot write %s; sounds are not logged\n", options.soundLog.c_str());
  }
  SetMusicDevice(options.mute ? nullptr : services.music);
  GetAppBlock().soundList = std::make_unique<NSoundList>(options.mute ? nullptr : services.audio);
  LoadGameSounds(*GetAppBlock().soundList);
  SetRankingPlace(!options.rankingFile.empty() ? RankingPlace::File
                  : options.headless           ? RankingPlace::Memory
                                               : RankingPlace::UserSettings,
                  options.rankingFile);
  LoadRanking();

  Autopilot& autopilot = parts_->autopilot;
  if (options.autopilot) loop.autopilot = [&autopilot](int64_t frame) { return autopilot.Step(frame); };
  SoakInput& soak = parts_->soak;
  if (options.soakSeed) {
    loop.autopilot = [&soak](int64_t frame) { return soak.Step(frame); };
    loop.autopilotWhilePaused = true;
  }
  loop_ = std::make_unique<MainLoop>(host, sequencer, std::move(loop));
  StatsLog& stats = parts_->stats;
  if (!options.statsFile.empty()) {
    if (stats.Open(options.statsFile)) {
      loop_->OnTick([&stats](int64_t frame, bool) { stats.Write(frame); });
    } else {
      std::fprintf(stderr, "velloria: cannot write %s; no statistics are logged\n", options.statsFile.c_str());
    }
  }
  PictureLog& pictures = parts_->pictures;
  if (!options.pictureLog.empty()) {
    if (pictures.Open(options.pictureLog)) {
      loop_->OnTick([&pictures](int64_t frame, bool ran) { pictures.Write(frame, ran); });
    } else {
      std::fprintf(stderr, "velloria: cannot write %s; no pictures are logged\n", options.pictureLog.c_str());
    }
  }
  return std::nullopt;
}

int Application::Finish() {
  int code = QuitCode();
  // Every way out of the loop went through Shutdown, which logged its close.
  CloseSoundLog();
  Shutdown(nullptr);  // releases whatever a failed start-up left behind
  SetMusicDevice(nullptr);
  SetShutdownTargets(nullptr, nullptr);
  return code;
}
