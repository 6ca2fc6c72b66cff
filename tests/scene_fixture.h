#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app_block.h"
#include "app/scene.h"
#include "audio/music.h"
#include "base/math_util.h"
#include "gfx/display.h"
#include "input/input.h"
#include "tests/png_probe.h"
#include "tests/sound_spy.h"

// A music device that writes down its commands: "open NAME", "play", "close".
class MusicSpy : public MusicDevice {
 public:
  bool Open(const std::string& path) override {
    log.push_back("open " + std::filesystem::path(path).filename().string());
    return true;
  }
  bool PlayFromStart() override {
    log.push_back("play");
    return true;
  }
  bool Pause() override { return true; }
  bool Resume() override { return true; }
  void Close() override { log.push_back("close"); }

  std::vector<std::string> log;
};

// Front-end scenes driven frame by frame without the main loop: a headless
// display with the game's palette, the input module, a sound bank that only
// writes down what it plays and a music spy.
class SceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAppBlock();
    FillDirectionTables();
    CreateDisplay(nullptr);
    SetDisplayMode();
    InitPalette(106);
    InitInput();
    SetMusicDevice(&music);
    sounds = std::make_unique<SoundSpy>();
  }
  void TearDown() override {
    sounds.reset();
    SetMusicDevice(nullptr);
    ReleaseInput();
    ReleaseDisplay();
  }

  // Runs n frames with no key going down.
  static void Run(Scene& scene, int frames) {
    for (int i = 0; i < frames; ++i) scene.Update();
  }
  // One frame with the keys going down before it and up after it.
  static void Frame(Scene& scene, std::initializer_list<int> keys) {
    for (int code : keys) FeedKeyEvent(code, true);
    scene.Update();
    for (int code : keys) FeedKeyEvent(code, false);
  }
  // A press: the frame with the keys down and one frame with them up, so
  // that taps in a row count as separate presses.
  static void Tap(Scene& scene, std::initializer_list<int> keys) {
    Frame(scene, keys);
    scene.Update();
  }
  // The back surface as a picture, for the same probes as --shot files.
  static ShotPicture Screen() {
    const Surface& back = *GetBackSurface();
    ShotPicture shot;
    shot.width = back.Width();
    shot.height = back.Height();
    for (int y = 0; y < back.Height(); ++y)
      shot.pixels.insert(shot.pixels.end(), back.Row(y), back.Row(y) + back.Width());
    return shot;
  }

  MusicSpy music;
  std::unique_ptr<SoundSpy> sounds;
};

// What a scene is expected to show, drawn onto a surface where the colour
// `kUnset` marks the pixels nobody cares about.
class Expectation {
 public:
  static constexpr uint8_t kUnset = 0x5A;
  Expectation() : surface(640, 480) { surface.FillAll(kUnset); }
  Surface* Target() { return &surface; }
  // How many expected pixels the picture misses; fails the test when the
  // expectation drew fewer than `atLeast` pixels (a probe that looks at
  // nothing proves nothing).
  int Mismatches(const ShotPicture& shot, int atLeast = 50) const {
    int compared = 0;
    int differ = CountMismatches(shot, surface, kUnset, &compared);
    EXPECT_GE(compared, atLeast);
    return differ;
  }

 private:
  Surface surface;
};
