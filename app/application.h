#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "app/input_script.h"
#include "app/options.h"
#include "app/run_start.h"

class AudioDevice;
class Host;
class InputDriver;
class JoystickSource;
class MainLoop;
struct LoopConfig;
class MusicDevice;
class Presenter;
class ReplayWatch;
class SceneFactory;
struct RunSummary;

// What the platform hands the game. Headless runs leave presenter, audio,
// music and joystick null.
struct PlatformServices {
  Host* host = nullptr;
  Presenter* presenter = nullptr;
  AudioDevice* audio = nullptr;
  MusicDevice* music = nullptr;
  JoystickSource* joystick = nullptr;
  // Opens the window; false on failure.
  std::function<bool()> openWindow = [] { return true; };
  bool fullScreen = false;
  // The host runs the loop only when its display paints (see LoopConfig).
  bool steadyPacing = false;
  // The player's hold to fire; a replayed input file's header decides instead.
  bool holdToFire = false;
  // Told of every run kept, after it is kept.
  std::function<void(const RunSummary&)> runKept;
  // A practice run reached its game over: when set, the session goes on
  // (the caller holds the game and ends it); without, it ends at once.
  std::function<void(const StartPoint&)> practiceOver;
};

// Start-up in its fixed order, the message loop, and the way out through
// Shutdown. Returns the process exit code. A driver, when given, plays in
// place of a person (borrowed for the run).
int RunApplication(const Options& options, PlatformServices& services, SceneFactory& factory,
                   InputDriver* driver = nullptr);

// The same run in its three parts, for a host that cannot block in a loop (a
// browser page): Start, then the loop's RunDue from the host's own timer
// until IsQuitRequested, then Finish. RunApplication is built on it.
class Application {
 public:
  Application(const Options& options, PlatformServices& services, SceneFactory& factory, InputDriver* driver = nullptr);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Replays this script instead of the options' input file; its first run
  // only, when firstRunOnly (the replay ends with that run). Before Start.
  void UseScript(InputScript script, bool firstRunOnly);
  // Start-up; an exit code when the run cannot start (the loop does not exist).
  std::optional<int> Start();
  MainLoop& Loop() { return *loop_; }
  // What watched the replayed file (null without one).
  const ReplayWatch* Watch() const { return watch_.get(); }
  // After the loop ended; returns the exit code.
  int Finish();

 private:
  struct Parts;
  // The steps of Start, in the order they run.
  bool LoadReplay();
  std::optional<LoopConfig> LoopSettings() const;
  void FillAppBlock();
  void OpenWindowAndDisplay();
  void OpenInput();
  void OpenSound();
  void OpenRanking();
  bool OpenOutputs(LoopConfig& loop);
  void WatchLogs();
  void WatchReplay();
  void KeepRuns();
  void EndWithPractice();
  std::optional<StartPoint> PracticeStart() const;

  const Options& options_;
  PlatformServices& services_;
  SceneFactory& factory_;
  InputDriver* driver_;
  std::unique_ptr<Parts> parts_;
  std::unique_ptr<MainLoop> loop_;
  std::optional<InputScript> replay_;
  bool firstRunOnly_ = false;
  std::unique_ptr<ReplayWatch> watch_;
};
