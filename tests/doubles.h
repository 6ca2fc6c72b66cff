#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/app_block.h"
#include "audio/audio_device.h"
#include "audio/game_sounds.h"
#include "audio/music.h"
#include "audio/sound_list.h"
#include "base/math_util.h"
#include "base/string_list.h"
#include "generated/resource_ids.h"
#include "gfx/display.h"
#include "input/input.h"
#include "script/script.h"
#include "script/script_world.h"

// A world for scripts under test: a player standing still, and a log of the
// shots fired, the sounds played and the chances asked for.
class TestWorld : public BulletSink, public PlayerView, public SoundSink, public ChanceSource {
 public:
  void Shoot(int x, int y, int pattern) override {
    events.push_back("shoot " + std::to_string(pattern) + "@" + std::to_string(x) + "," + std::to_string(y));
  }
  int GetCenterX() const override { return playerX; }
  int GetCenterY() const override { return playerY; }
  void Play(int sound) override { events.push_back("sound " + std::to_string(sound)); }
  int Random(int n) override {
    chancesAsked.push_back(n);
    return nextChance;
  }
  int playerX = 0;
  int playerY = 0;
  int nextChance = 1;
  std::vector<std::string> events;
  std::vector<int> chancesAsked;
};

// A script from text lines separated by '\n'.
inline NScript ScriptOf(const std::string& text) {
  NStringList lines;
  lines.LoadFromBytes({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
  NScript script;
  script.Parse(lines);
  return script;
}

// The game's sound bank on a device that writes down the slots played.
class SoundSpy : public AudioDevice {
 public:
  SoundSpy() {
    auto bank = std::make_unique<NSoundList>(this);
    LoadGameSounds(*bank);
    GetAppBlock().soundList = std::move(bank);
  }
  ~SoundSpy() override { GetAppBlock().soundList.reset(); }
  int CreateVoice(const std::vector<uint8_t>&) override {
    // Voices are made in slot order; slots 1 and 2 have two each.
    int v = static_cast<int>(slotOfVoice_.size());
    slotOfVoice_.push_back(v < 1 ? 0 : v < 3 ? 1 : v < 5 ? 2 : v - 2);
    return static_cast<int>(slotOfVoice_.size()) - 1;
  }
  void Restart(int voice, bool) override { played.push_back(slotOfVoice_[static_cast<size_t>(voice)]); }
  void ReleaseAll() override {}
  int Count(int slot) const { return static_cast<int>(std::count(played.begin(), played.end(), slot)); }
  std::vector<int> played;

 private:
  std::vector<int> slotOfVoice_;
};

// A music device that writes down what it is asked: the paths opened, and
// every call as a word ("close open play pause resume "). It refuses to open
// `refused`.
class FakeMusic : public MusicDevice {
 public:
  bool Open(const std::string& path) override {
    opened.push_back(path);
    calls += "open ";
    return path != refused;
  }
  bool PlayFromStart() override { return calls += "play ", true; }
  bool Pause() override { return calls += "pause ", true; }
  bool Resume() override { return calls += "resume ", true; }
  void Close() override { calls += "close "; }
  std::vector<std::string> opened;
  std::string calls;
  std::string refused;
};

// What the game's objects expect around them: the compass, a seeded
// generator, the 640x480 display with the game's palette, the input module
// and a sound bank that writes down what it plays.
class WorldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAppBlock();
    FillDirectionTables();
    SeedRandom(3);
    CreateDisplay(nullptr);
    SetDisplayMode();
    InitPalette(bitmap::kPalette);
    InitInput();
    sounds = std::make_unique<SoundSpy>();
  }
  void TearDown() override {
    sounds.reset();
    ReleaseInput();
    ReleaseDisplay();
  }
  // Keys going down before the next UpdateInput and up after it.
  static void Press(std::initializer_list<int> keys, const std::function<void()>& frame) {
    for (int code : keys) FeedKeyEvent(code, true);
    frame();
    for (int code : keys) FeedKeyEvent(code, false);
  }
  std::unique_ptr<SoundSpy> sounds;
};
