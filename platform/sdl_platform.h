#pragma once

#include <memory>

#include "app/application.h"
#include "app/options.h"
#include "shell/settings.h"
#include "shell/shell_devices.h"

// The live platform on SDL: window, events, presenter, sound and music.
// This header is SDL-free so that the entry point stays plain C++.
class SdlPlatform {
 public:
  virtual ~SdlPlatform() = default;
  virtual PlatformServices& Services() = 0;
  // What the shell around the game asks of the window and the mixer.
  virtual ShellDevices& Devices() = 0;
};

// Never null; a failed SDL start-up shows up as a failing openWindow. run:
// the settings of this run (display, window, volumes).
std::unique_ptr<SdlPlatform> CreateSdlPlatform(const Options& options, const Settings& run);

// A message for a player who started the game without a terminal (from a
// launcher) and would never read standard error; nothing otherwise.
void TellWithoutTerminal(const char* text);
