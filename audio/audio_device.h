#pragma once

#include <cstdint>
#include <vector>

// The platform's sound output as the sound bank needs it: one voice per copy
// of an effect, each holding 22050 Hz 8-bit mono samples, restartable.
class AudioDevice {
 public:
  virtual ~AudioDevice() = default;
  // Creates a voice holding these samples; returns its handle, or -1.
  virtual int CreateVoice(const std::vector<uint8_t>& samples) = 0;
  // Stops the voice, rewinds it and plays it (looping when loop is set).
  virtual void Restart(int voice, bool loop) = 0;
  virtual void ReleaseAll() = 0;
};
