#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/string_list.h"
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
  // The events since the last call.
  std::vector<std::string> Take() {
    std::vector<std::string> out;
    out.swap(events);
    return out;
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
