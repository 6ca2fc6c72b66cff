#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/presenter.h"
#include "shell/bindings.h"

struct WindowSize {
  int width = 0;
  int height = 0;
  bool operator==(const WindowSize&) const = default;
};

// The smallest window: the picture at 1x.
constexpr WindowSize kSmallestWindow = {640, 480};
constexpr int kLargestWindowSide = 16384;
constexpr int kMaxVolume = 100;

// What the player chose around the game. The defaults are the game as it
// has always been: full screen, a sharp large picture, full volume and sound on, one
// volley per press, the game's own keys.
struct Settings {
  bool fullScreen = true;
  // The window's size when last left as a window; none: twice the picture,
  // lowered to fit the desktop.
  std::optional<WindowSize> window;
  // Auto (no line in the file): whole factors where they fill the screen well.
  Fit fit = Fit::Auto;
  int musicVolume = kMaxVolume;
  int soundVolume = kMaxVolume;
  // Silences music and effects alike; the volumes stay as they were set.
  bool mute = false;
  bool holdToFire = false;
  // The name last entered is typed into the next name entry for the player.
  bool rememberName = true;
  std::string name;  // the name last entered, while it is remembered
  // Escape in a run asks before it quits.
  bool confirmQuit = true;
  Bindings bindings = Bindings::Defaults();
  // The furthest level reached in a run, stage by stage (stage 1 first;
  // 0: not reached), which PRACTICE offers.
  std::vector<int> reached;
  // Where a run may be sent when the player says so; empty: never sent.
  std::string hallOfFame;

  bool operator==(const Settings&) const = default;
};

// settings.ini holds "key=value" lines:
//   display=fullscreen|window   window=WIDTHxHEIGHT   fit=whole|fill|auto (none: auto)
//   music-volume=0..100   sound-volume=0..100   mute=off|on   hold-to-fire=off|on
//   confirm-quit=on|off   hall-of-fame=URL (empty: no hall)
//   key-left= key-right= key-up= key-down= key-fire= key-confirm= key-pause=
//   key-fast=   key names as input files write them, comma-separated
//   pad-fire= pad-confirm= pad-pause= pad-fast=   pad button numbers, comma-separated
//   remember-name=off|on   name=   the name last entered (what a name takes)
//   reached=S-L,...   the furthest level reached of each stage
// A line with a bad value keeps the default and is named in complaints (one
// line each); lines it does not know are no concern of the reader.
Settings ParseSettings(const std::string& text, std::vector<std::string>& complaints);

// Whether settings.ini knows the key ("music-volume").
bool IsSettingKey(std::string_view key);

// The text to save: old with the value of every line it knows replaced by
// the setting's, every other line (comments, keys of other versions) kept
// in its place, and the settings it lacked added at the end.
std::string FormatSettings(const Settings& settings, const std::string& old);

// The settings the player changed from before to after, copied into into
// (each one alone, so values given for one run only stay out of it).
void CopyChanges(const Settings& before, const Settings& after, Settings& into);
