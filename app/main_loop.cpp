#include "app/main_loop.h"

#include <cstdio>
#include <filesystem>

#include "app/app_block.h"
#include "app/frame_pacer.h"
#include "app/input_driver.h"
#include "app/picture_folder.h"
#include "app/player_file.h"
#include "app/sequencer.h"
#include "app/shutdown.h"
#include "app/state_check.h"
#include "audio/music.h"
#include "base/frame_clock.h"
#include "base/output_file.h"
#include "base/printable.h"
#include "base/utf8_path.h"
#include "gfx/display.h"
#include "gfx/png_writer.h"
#include "input/input.h"
#include "input/joystick_source.h"

namespace {
constexpr int kScreenshotKey = key::kF12;
constexpr int kFirstScreenshot = 1;  // velloria-0001.png
constexpr int kLastScreenshot = 9999;

// The caption names pause and fast mode; the shell shows them on the picture.
const char* WindowTitle(const AppBlock& app) {
  if (app.paused) return "Velloria - Paused";
  return app.frameInterval == kFastFrameInterval ? "Velloria - Fast" : "Velloria";
}
}  // namespace

void ApplyPause() {
  if (GetAppBlock().paused) {
    StopMusic();
    UnacquireKeyboard();
  } else {
    ResumeMusic();
    AcquireKeyboard();
  }
}

MainLoop::MainLoop(Host& host, Sequencer& sequencer, LoopConfig config)
    : host_(host), sequencer_(sequencer), config_(std::move(config)) {
  shotDone_.assign(config_.shots.size(), false);
  if (config_.record) {
    config_.record->Write("version " + VersionText() + "\n# velloria session\nseed " + std::to_string(config_.seed) +
                          "\n");
    if (config_.holdToFire) config_.record->Write("hold-to-fire on\n");
    config_.record->Flush();
  }
  SetCurrentFrame(0);
}

bool MainLoop::SetHoldToFire(bool on) {
  if (config_.record && on != config_.holdToFire) return false;
  if (runHeld_) {
    holdAfterRun_ = on;
    return on == config_.holdToFire;
  }
  config_.holdToFire = on;
  return true;
}

void MainLoop::KeepRunSettings(bool held) {
  runHeld_ = held;
  if (held || !holdAfterRun_) return;
  config_.holdToFire = *holdAfterRun_;
  holdAfterRun_.reset();
}

void MainLoop::Record(const ScriptedEvent& event) {
  for (auto& observer : eventObservers_) observer(event);
  if (!config_.record) return;
  // Each event is handed to the system at once: a run that dies keeps its
  // session up to that event.
  config_.record->Write(FormatScriptedEvent(event) + "\n");
  config_.record->Flush();
}

void MainLoop::HandleEvent(const HostEvent& event) {
  AppBlock& app = GetAppBlock();
  using Kind = ScriptedEvent::Kind;
  switch (event.type) {
    case HostEventType::Quit:
      Shutdown(nullptr);
      break;
    case HostEventType::KeyDown:
      Record({tick_, Kind::KeyDown, event.key});
      // Escape closes the window from every scene, name entry included.
      if (event.key == key::kEscape) {
        Shutdown(nullptr);
        return;
      }
      if (event.key == kScreenshotKey && config_.screenshots) SaveScreenshot();
      FeedKeyEvent(event.key, true);
      if (app.hotkeysEnabled && event.key == key::kP) {
        app.paused = app.paused ? 0 : 1;
        ApplyPause();
      } else if (app.hotkeysEnabled && event.key == key::kS) {
        app.frameInterval = app.frameInterval == kFastFrameInterval ? kNormalFrameInterval : kFastFrameInterval;
      }
      break;
    case HostEventType::KeyUp:
      Record({tick_, Kind::KeyUp, event.key});
      FeedKeyEvent(event.key, false);
      break;
    case HostEventType::FocusLost:
      Record({tick_, Kind::FocusLost});
      app.paused = 1;
      ApplyPause();
      break;
    case HostEventType::FocusGained:
      Record({tick_, Kind::FocusGained});
      app.paused = 0;  // this also ends a pause made with P
      ApplyPause();
      break;
    case HostEventType::Expose:
      Present();
      break;
    case HostEventType::MusicFinished:
      ReplayMusic();
      break;
    case HostEventType::ToggleFullScreen:
      host_.ToggleFullScreen();
      break;
    case HostEventType::Screenshot:
      if (config_.screenshots) SaveScreenshot();
      break;
  }
  if (std::string_view title = WindowTitle(app); title != shownTitle_ && !IsQuitRequested()) {
    shownTitle_ = title;
    host_.SetTitle(title.data());
  }
}

void MainLoop::DeliverScripted() {
  using Kind = ScriptedEvent::Kind;
  InputDriver* driver = config_.driver;
  if (driver && driverTick_ != tick_ && (driver->StepsWhilePaused() || !GetAppBlock().paused)) {
    driverTick_ = tick_;
    for (const HostEvent& event : driver->Step(tick_)) {
      if (!IsQuitRequested()) HandleEvent(event);
    }
  }
  while (ScriptPending() && !IsQuitRequested()) {
    const ScriptedEvent& ev = config_.script[nextScripted_];
    if (ev.frame > tick_) break;
    ++nextScripted_;
    switch (ev.kind) {
      case Kind::KeyDown:
        HandleEvent({HostEventType::KeyDown, ev.key});
        break;
      case Kind::KeyUp:
        HandleEvent({HostEventType::KeyUp, ev.key});
        break;
      case Kind::FocusLost:
        HandleEvent({HostEventType::FocusLost});
        break;
      case Kind::FocusGained:
        HandleEvent({HostEventType::FocusGained});
        break;
      case Kind::Joystick:
        Record(ev);
        FeedJoystickState(true, ev.joyX, ev.joyY, ev.joyButtons);
        break;
      case Kind::JoystickNone:
        Record(ev);
        FeedJoystickState(false, 0, 0, 0);
        break;
    }
  }
}

void MainLoop::PollJoystick() {
  if (!config_.joystick) return;
  JoystickReading now = config_.joystick->Read();
  if (now == lastJoystick_) return;
  lastJoystick_ = now;
  // Recorded like a replayed pad line, so the session replays exactly.
  using Kind = ScriptedEvent::Kind;
  if (now.present) {
    Record({tick_, Kind::Joystick, 0, now.x, now.y, now.buttons});
  } else {
    Record({tick_, Kind::JoystickNone});
  }
  FeedJoystickState(now.present, now.x, now.y, now.buttons);
}

void MainLoop::RunFrame() {
  PollJoystick();
  if (AreSurfacesLost() && !RestoreSurfaces()) {
    Shutdown("Failed to restore surfaces.");
    return;
  }
  // Only a game in play repeats a held fire key: in the menus the same key
  // confirms, and the name entry types with it.
  const AppBlock& app = GetAppBlock();
  ::SetHoldToFire(config_.holdToFire && app.sceneState == scene_state::kGameRunning && app.hotkeysEnabled);
  if (sequencer_.Step()) Present();
}

void MainLoop::AdvanceTick(int64_t newTick, bool ran) {
  int64_t oldTick = tick_;
  tick_ = newTick;
  for (size_t i = 0; i < config_.shots.size(); ++i) {
    if (shotDone_[i] || config_.shots[i].frame >= tick_) continue;
    shotDone_[i] = true;
    // A tool's option: it may replace a picture, but never a device or a
    // FIFO that happens to have the name.
    const Surface* back = GetBackSurface();
    FileOutcome saved = back ? SavePlayerFile(config_.shots[i].path, EncodePng(*back, GetPalette()))
                             : FileOutcome{FileOutcome::Status::Failed, "no picture"};
    if (!saved.Done()) {
      std::fprintf(stderr, "velloria: could not save %s: %s\n", PrintablePath(config_.shots[i].path).c_str(),
                   saved.reason.c_str());
    }
  }
  for (int64_t t = oldTick; t < newTick; ++t) {
    if (config_.record && t > 0 && t % kCheckInterval == 0) {
      config_.record->Write(FormatStateCheck({t, StateDigest()}) + "\n");
      config_.record->Flush();
    }
    for (auto& observer : observers_) observer(t, ran && t == oldTick);
  }
  SetCurrentFrame(tick_);
  bool due = endAfterTick_ || (config_.frames && tick_ >= *config_.frames);
  if (due && !IsQuitRequested()) Shutdown(nullptr);
}

void MainLoop::SaveScreenshot() {
  const Surface* back = GetBackSurface();
  if (!back) return;
  // The first free number; a picture the player already has is never replaced.
  std::string folder = Utf8Of(PicturesFolder());
  if (folder.empty()) {
    std::fprintf(stderr, "velloria: could not save a screenshot: no pictures folder (HOME is not set)\n");
    return;
  }
  std::error_code made;
  std::filesystem::create_directories(PathFromUtf8(folder), made);
  auto name = [](int n) {
    char text[32];
    std::snprintf(text, sizeof(text), "velloria-%04d.png", n);
    return std::string(text);
  };
  std::string path;
  FileOutcome saved =
      SaveNewPlayerFile(folder, name, kFirstScreenshot, kLastScreenshot, EncodePng(*back, GetPalette()), path);
  if (saved.Done()) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(PathFromUtf8(path), ec).lexically_normal();
    if (!ec) path = Utf8Of(full);
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);
    host_.ScreenshotSaved(path);
  } else {
    std::fprintf(stderr, "velloria: could not save a screenshot in %s: %s\n", PrintablePath(folder).c_str(),
                 saved.reason.c_str());
  }
}

std::optional<int> MainLoop::LiveIteration() {
  AppBlock& app = GetAppBlock();
  uint32_t now = host_.NowMs();
  if (held_) {
    HostEvent event;
    if (!IsQuitRequested() && host_.PollEvent(event)) {
      HandleEvent(event);
      return std::nullopt;
    }
    return IsQuitRequested() ? std::optional<int>() : -1;
  }
  if (app.paused) {
    if (!wasPaused_) {
      wasPaused_ = true;
      pauseStartMs_ = now;
      pauseStartTick_ = tick_;
    }
    int64_t t = pauseStartTick_ + (now - pauseStartMs_) / app.frameInterval;
    if (t > tick_) AdvanceTick(t, false);
  } else {
    wasPaused_ = false;
  }
  DeliverScripted();
  HostEvent event;
  if (!IsQuitRequested() && host_.PollEvent(event)) {
    HandleEvent(event);
    return std::nullopt;
  }
  if (IsQuitRequested()) return std::nullopt;
  if (app.paused) {
    // Nothing runs while paused; wake up per tick only when something is
    // counted in ticks (a replayed file, --frames or --shot).
    bool counting = ScriptPending() || config_.frames || !config_.shots.empty();
    return counting ? static_cast<int>(app.frameInterval - (now - pauseStartMs_) % app.frameInterval) : -1;
  }
  if (speed_ > 1) {
    uint32_t interval = std::max<uint32_t>(1, app.frameInterval / static_cast<uint32_t>(speed_));
    uint32_t elapsed = now - app.lastFrameTime;
    if (elapsed < interval) return static_cast<int>(interval - elapsed);
    app.lastFrameTime = now;
  } else if (!(config_.steadyPacing ? SteadyFrameDue(app, now) : FrameDue(app, now))) {
    return static_cast<int>(MsUntilFrame(app, host_.NowMs()));
  }
  RunFrame();
  AdvanceTick(tick_ + 1, true);
  return std::nullopt;
}

int MainLoop::RunDue() {
  while (!IsQuitRequested()) {
    if (std::optional<int> wait = LiveIteration()) return *wait;
  }
  return 0;
}

bool MainLoop::HeadlessIteration() {
  AppBlock& app = GetAppBlock();
  DeliverScripted();
  HostEvent event;
  while (!IsQuitRequested() && host_.PollEvent(event)) HandleEvent(event);
  if (IsQuitRequested()) return false;
  bool ran = false;
  if (!app.paused) {
    virtualNow_ += app.frameInterval;
    if (FrameDue(app, virtualNow_)) {
      RunFrame();
      ran = true;
    }
  }
  if (IsQuitRequested()) return false;
  AdvanceTick(tick_ + 1, ran);
  bool driverResumes = config_.driver && config_.driver->StepsWhilePaused();
  if (app.paused && !ScriptPending() && !driverResumes && !config_.frames && !IsQuitRequested()) {
    std::fprintf(stderr, "velloria: paused with no input left to replay; ending the run\n");
    Shutdown(nullptr);
  }
  return !IsQuitRequested();
}

int MainLoop::Run() {
  while (!IsQuitRequested()) {
    if (!config_.headless) {
      if (std::optional<int> wait = LiveIteration()) host_.WaitEvent(*wait);
      continue;
    }
    HeadlessIteration();
  }
  return QuitCode();
}
