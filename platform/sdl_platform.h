#pragma once

#include <memory>

#include "app/application.h"
#include "app/options.h"

// The live platform on SDL: window, events, presenter, sound and music.
// This header is SDL-free so that the entry point stays plain C++.
class SdlPlatform {
 public:
  virtual ~SdlPlatform() = default;
  virtual PlatformServices& Services() = 0;
};

// Never null; a failed SDL start-up shows up as a failing openWindow.
std::unique_ptr<SdlPlatform> CreateSdlPlatform(const Options& options);
