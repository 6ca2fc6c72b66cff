#pragma once

#include <functional>

#include "app/options.h"

class AudioDevice;
class Host;
class JoystickSource;
class MusicDevice;
class Presenter;
class SceneFactory;

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
};

// Start-up in its fixed order, the message loop, and the way out through
// Shutdown. Returns the process exit code.
int RunApplication(const Options& options, PlatformServices& services, SceneFactory& factory);
