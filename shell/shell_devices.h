#pragma once

#include <optional>

#include "shell/settings.h"

// What the shell asks of the platform beyond the game's own seams (the
// overlay and the fit go through the presenter, full screen through the
// host). Every call may do nothing: a headless run has none of it.
class ShellDevices {
 public:
  virtual ~ShellDevices() = default;
  // Volumes 0..100, heard at once; muted silences both and keeps them.
  virtual void SetVolumes(int /*music*/, int /*sound*/, bool /*muted*/) {}
  // Lets the tune the game stopped sound on while the player sets its
  // volume in the options, and stops it again; the game never hears of it.
  virtual void HearMusic(bool /*on*/) {}
  // Stops every effect sounding now (a skipped logo's jingle).
  virtual void SilenceEffects() {}
  virtual bool IsFullScreen() const { return false; }
  // The window's size while it is a window (none when full screen).
  virtual std::optional<WindowSize> WindowedSize() const { return std::nullopt; }
};
