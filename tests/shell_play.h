#pragma once
// Sessions played through the shell, as a person at the keyboard or a pad
// would, and the logs that tell whether a replay without it gives the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/application.h"
#include "app/game_scenes.h"
#include "app/main_loop.h"
#include "base/frame_clock.h"
#include "input/input.h"
#include "input/key_names.h"
#include "shell/run_settings.h"
#include "shell/sessions.h"
#include "shell/settings.h"
#include "shell/settings_file.h"
#include "shell/shell.h"
#include "tests/run_helpers.h"

inline int Key(const char* name) { return *KeyCodeFromName(name); }

// A person at the keyboard: each event comes once the run reaches its frame.
class PlayedHost : public FrameClockHost {
 public:
  bool PollEvent(HostEvent& event) override {
    if (onPoll) onPoll();
    if (next >= events.size() || events[next].first > Now()) return false;
    event = events[next++].second;
    return true;
  }
  // A live run's clock moves only while the loop waits; a headless run's
  // counts frames.
  void WaitEvent(int ms) override { wallMs += ms < 0 ? 1 : std::max(ms, 1); }
  uint32_t NowMs() override { return live ? wallMs : FrameClockHost::NowMs(); }
  void Press(int64_t frame, const char* key, int64_t upAt = -1) {
    events.push_back({frame, {HostEventType::KeyDown, Key(key)}});
    events.push_back({upAt < 0 ? frame : upAt, {HostEventType::KeyUp, Key(key)}});
    std::stable_sort(events.begin(), events.end(), [](auto& a, auto& b) { return a.first < b.first; });
  }
  // When the events fall: at frames, or in a live run at milliseconds.
  int64_t Now() const { return live ? wallMs : CurrentFrame(); }
  std::vector<std::pair<int64_t, HostEvent>> events;
  size_t next = 0;
  std::function<void()> onPoll;  // the person looks at the game
  bool live = false;
  uint32_t wallMs = 0;
};

// The screen as the player sees it: per frame, how much of the picture the
// shell's layer covers.
class ScreenSpy : public Presenter {
 public:
  void Present(const Surface&, const Palette&) override { ++presents; }
  void SetOverlay(const OverlayView& overlay) override {
    int covered = 0;
    for (int y = overlay.top; overlay.layer && y < overlay.bottom; ++y) {
      for (int x = 0; x < overlay.layer->Width(); ++x) covered += overlay.layer->At(x, y) != overlay.transparent;
    }
    covers[CurrentFrame()] = covered;
  }
  // The cover last laid at or before frame.
  int CoverAt(int64_t frame) const {
    auto at = covers.upper_bound(frame);
    return at == covers.begin() ? 0 : std::prev(at)->second;
  }
  std::map<int64_t, int> covers;
  int presents = 0;
};

// What the shell asks of the devices.
struct DevicesSpy : ShellDevices {
  void SetVolumes(int music, int sound, bool muted) override { heard.push_back({music, sound, muted}); }
  void SilenceEffects() override { ++silenced; }
  bool IsFullScreen() const override { return full; }
  std::optional<WindowSize> WindowedSize() const override { return full ? std::nullopt : size; }
  std::vector<std::tuple<int, int, bool>> heard;  // music, sound, muted
  int silenced = 0;
  bool full = false;
  std::optional<WindowSize> size;
};

// A run played through the shell by a person, as the desktop plays it: the
// command line's choices over the saved settings for this run, and one
// session after another as the options ask. The last session's exit code.
inline int PlayThroughShell(const Options& options, Host& person, Presenter& screen, ShellDevices& devices,
                            SettingsFile& file, const Settings& saved, JoystickSource* pad = nullptr) {
  PlatformServices services;
  services.host = &person;
  services.presenter = &screen;
  services.joystick = pad;
  Shell shell(person, devices, file, saved, ForThisRun(saved, options));
  shell.Wrap(services);
  shell.SetWatching(options.watch);
  GameSceneFactory scenes;
  return PlaySessions(options, services, shell, scenes, nullptr);
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Where two logs part, or empty when they are the same line for line.
inline std::string Parting(const std::filesystem::path& replayedLog, const std::filesystem::path& playedLog) {
  std::vector<std::string> replayed = Lines(ReadFile(replayedLog));
  std::vector<std::string> played = Lines(ReadFile(playedLog));
  auto [a, b] = std::mismatch(replayed.begin(), replayed.end(), played.begin(), played.end());
  if (a == replayed.end() && b == played.end()) return "";
  return "line " + std::to_string(a - replayed.begin() + 1) + ": replayed \"" + (a == replayed.end() ? "(end)" : *a) +
         "\", played \"" + (b == played.end() ? "(end)" : *b) + "\"";
}

inline std::vector<int64_t> FramesOf(const std::string& log, const std::string& what) {
  std::vector<int64_t> frames;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    if (line.size() > what.size() && line.ends_with(what)) frames.push_back(std::stoll(line));
  }
  return frames;
}

// A pad player: from the first frame at which ready() holds, each step's
// reading is held for two frames and let go for two.
class PlayedPad : public JoystickSource {
 public:
  static JoystickReading Stick(int x, int y) { return {true, x, y, 0}; }
  static JoystickReading Button(int b) { return {true, 0, 0, 1u << b}; }
  JoystickReading Read() override {
    if (start < 0 && ready()) start = CurrentFrame();
    size_t step = start < 0 ? steps.size() : static_cast<size_t>((CurrentFrame() - start) / 4);
    bool held = start >= 0 && (CurrentFrame() - start) % 4 < 2;
    return held && step < steps.size() ? steps[step] : JoystickReading{true};
  }
  std::function<bool()> ready = [] { return true; };
  std::vector<JoystickReading> steps;
  int64_t start = -1;
};
inline const JoystickReading kUp = PlayedPad::Stick(0, joy::kAxisMin);
inline const JoystickReading kDown = PlayedPad::Stick(0, joy::kAxisMax);
inline const JoystickReading kLeft = PlayedPad::Stick(joy::kAxisMin, 0);
inline const JoystickReading kRest{true};

// A session played through the shell with the player's settings (kept in
// dir/settings.ini) and recorded to dir/session.txt, its logs in dir/*-live.
inline void PlayThroughShell(const TestDir& dir, const Settings& saved, Host& person, JoystickSource* pad,
                             Presenter& screen, Options options, ShellDevices* devices = nullptr) {
  SettingsFile file((dir / "settings.ini").string());
  ShellDevices none;
  options.headless = true;
  options.recordFile = (dir / "session.txt").string();
  for (auto [field, name] :
       {std::pair{&Options::statsFile, "stats"}, {&Options::pictureLog, "pictures"}, {&Options::soundLog, "sounds"}}) {
    options.*field = (dir / (std::string(name) + "-live")).string();
  }
  PlayThroughShell(options, person, screen, devices ? *devices : none, file, saved, pad);
}

// A headless run of args shows the pictures the live one showed.
inline void ExpectPicturesOf(const TestDir& dir, const std::string& args) {
  RunResult r = RunGame("--headless " + args + " --picture-log " + (dir / "pictures").string());
  ASSERT_EQ(r.code, 0) << r.errors;
  EXPECT_EQ(Parting(dir / "pictures", dir / "pictures-live"), "");
}

// The recording replayed headless without the shell gives the same frames,
// pictures and sounds.
inline void ExpectSameWithoutShell(const TestDir& dir, const std::string& args) {
  RunResult r = RunGame("--headless " + args + " --input " + (dir / "session.txt").string() + " --stats " +
                        (dir / "stats").string() + " --picture-log " + (dir / "pictures").string() + " --sound-log " +
                        (dir / "sounds").string());
  ASSERT_EQ(r.code, 0) << r.errors;
  for (const char* log : {"stats", "pictures", "sounds"}) {
    EXPECT_EQ(Parting(dir / log, dir / (std::string(log) + "-live")), "") << log;
  }
}
