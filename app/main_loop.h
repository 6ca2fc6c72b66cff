#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/host.h"
#include "app/input_script.h"
#include "app/options.h"
#include "input/joystick.h"

class InputDriver;
class OutputFile;
class JoystickSource;
class Sequencer;

struct LoopConfig {
  bool headless = false;
  std::optional<int64_t> frames;
  std::vector<ScriptedEvent> script;
  // Where the session is recorded, opened by the caller (borrowed; null: not
  // recorded).
  OutputFile* record = nullptr;
  uint32_t seed = 0;
  // A held fire key fires again every fourth frame of a game (the input
  // file's header says so when recorded).
  bool holdToFire = false;
  std::vector<ShotRequest> shots;
  // The live pad, read once before every frame; null in headless runs.
  JoystickSource* joystick = nullptr;
  // Plays in place of a person, if anyone does; borrowed.
  InputDriver* driver = nullptr;
  // Frames fall due a whole interval after the last one fell due rather than
  // after it ran: for a host that runs the loop only when the display paints.
  bool steadyPacing = false;
  // F12 saves the picture (a replay judged for a caller, or watched, never).
  bool screenshots = true;
};

// Brings music and keyboard in line with AppBlock::paused.
void ApplyPause();

// The message loop: handles window events (Escape, P, S, focus, expose, the
// end of a tune) and runs one frame whenever the frame interval has passed.
// Between frames it waits for events instead of spinning. Headless runs use
// a virtual clock: every iteration is one tick, as fast as possible.
class MainLoop {
 public:
  MainLoop(Host& host, Sequencer& sequencer, LoopConfig config);
  // Runs until Shutdown; returns the exit code.
  int Run();
  // For a host that cannot block (a browser page): does everything that is
  // due now and returns without waiting how long the host may wait before
  // calling again (-1: until an event comes, as while paused).
  int RunDue();
  // One pass of a headless run (the virtual clock: one tick a pass); false
  // once the run is to end. Run repeats it; a page calls it in batches.
  bool HeadlessIteration();
  // Called after every tick with the frame number and whether a frame ran.
  void OnTick(std::function<void(int64_t frame, bool ran)> observer) { observers_.push_back(std::move(observer)); }
  // Called with every event the game takes, as --record writes it.
  void OnEvent(std::function<void(const ScriptedEvent&)> observer) { eventObservers_.push_back(std::move(observer)); }
  // Hold to fire from now on. A session being recorded keeps what its
  // header says (false: refused); a run being kept keeps it to its end, and
  // the change comes then (false too).
  bool SetHoldToFire(bool on);
  // Ends the run once every observer has seen this tick (called from one).
  void EndAfterThisTick() { endAfterTick_ = true; }
  // A run is being kept (true) or has ended (false).
  void KeepRunSettings(bool held);
  bool HoldToFire() const { return config_.holdToFire; }
  // A watched replay's own pace, beside the game's: held, nothing runs and
  // no tick passes; speed runs that many frames in a frame's time (as many
  // as the machine can, when it cannot keep up). The game's state never
  // sees either, so the replay stays the same.
  void SetReplayPace(bool held, int speed) {
    held_ = held;
    speed_ = speed < 1 ? 1 : speed;
  }

 private:
  void HandleEvent(const HostEvent& event);
  void DeliverScripted();
  void PollJoystick();
  void RunFrame();
  void AdvanceTick(int64_t newTick, bool ran);
  void SaveScreenshot();
  void Record(const ScriptedEvent& event);
  bool ScriptPending() const { return nextScripted_ < config_.script.size(); }
  // One pass of a live run: one event handled or one frame run. When nothing
  // is due it returns how long to wait (-1: until an event comes).
  std::optional<int> LiveIteration();

  Host& host_;
  Sequencer& sequencer_;
  LoopConfig config_;
  size_t nextScripted_ = 0;
  int64_t driverTick_ = -1;  // the tick the driver was last asked in
  int64_t tick_ = 0;
  // While paused in a live run, ticks keep passing with the wall clock.
  uint32_t pauseStartMs_ = 0;
  int64_t pauseStartTick_ = 0;
  bool wasPaused_ = false;
  uint32_t virtualNow_ = 0;
  std::vector<bool> shotDone_;
  JoystickReading lastJoystick_;
  bool endAfterTick_ = false;
  bool held_ = false;
  int speed_ = 1;
  bool runHeld_ = false;
  std::optional<bool> holdAfterRun_;
  std::vector<std::function<void(int64_t, bool)>> observers_;
  std::vector<std::function<void(const ScriptedEvent&)>> eventObservers_;
  std::string_view shownTitle_ = "Velloria";  // the caption last shown
};
