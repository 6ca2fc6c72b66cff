#pragma once

#include <cstdint>
#include <vector>

#include "audio/audio_device.h"

// The sound bank's voices through Web Audio (platform/web/site/sound.js): one
// buffer per voice at the effects' own 22050 Hz, restarted by stopping its
// source and starting a new one. Until the page's first key or click lets
// sound start, restarts play nothing.
class WebAudio : public AudioDevice {
 public:
  ~WebAudio() override;
  int CreateVoice(const std::vector<uint8_t>& samples) override;
  void Restart(int voice, bool loop) override;
  void ReleaseAll() override;
};
