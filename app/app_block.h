#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "app/scene.h"

class NSoundList;

// One line of the ranking: a potion count and a zero-terminated name of at
// most 15 characters.
struct RankEntry {
  int32_t score = 0;
  char name[16] = {};
};

constexpr int kRankEntries = 8;

// Milliseconds between frames: the normal pace and fast mode's (key S).
constexpr uint32_t kNormalFrameInterval = 40;
constexpr uint32_t kFastFrameInterval = 10;

// The one program-wide record through which scenes and the game hand over to
// each other.
struct AppBlock {
  int paused = 0;
  int hotkeysEnabled = 1;
  uint32_t lastFrameTime = 0;
  uint32_t frameInterval = kNormalFrameInterval;
  int startStage = 0;
  int startLevel = 0;
  int32_t potionsCarried = 0;
  // The potions of the result whose name is being typed (read by the shell).
  int32_t namedPotions = 0;
  int sceneState = scene_state::kLogoStart;
  std::unique_ptr<NSoundList> soundList;
  std::array<RankEntry, kRankEntries> ranking{};

  AppBlock();
  ~AppBlock();
};

AppBlock& GetAppBlock();
// index 0..7; callers stay inside.
RankEntry& GetRankEntry(int index);
// The sound bank, or null before start-up and after shutdown.
NSoundList* GetSoundList();
// Plays a slot of the sound bank once (nothing without a bank).
void PlaySound(int slot);
// Gives every field its start value (the sound bank is released).
void ResetAppBlock();
