#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <memory>
#include <vector>

#include "audio/audio_device.h"

// The sound bank's output on SDL_mixer: one mixer channel per voice. The
// device runs at 44100 Hz, 16-bit stereo, the rate the MIDI synthesiser
// sounds best at; the 22050 Hz 8-bit mono effects are converted when loaded.
class SdlAudio : public AudioDevice {
 public:
  SdlAudio() = default;
  ~SdlAudio() override;
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  // Starts SDL's audio and opens the mixer; false when there is no device.
  bool Open();
  // The effects' volume, 0..100 of their full level, heard at once.
  void SetVolume(int percent);
  // Stops every voice sounding now.
  void StopAll();

  int CreateVoice(const std::vector<uint8_t>& samples) override;
  void Restart(int voice, bool loop) override;
  void ReleaseAll() override;

 private:
  struct FreeChunk {
    void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
  };
  bool audioStarted_ = false;
  bool mixerOpen_ = false;
  int volume_ = MIX_MAX_VOLUME;
  // Voice n plays on mixer channel n.
  std::vector<std::unique_ptr<Mix_Chunk, FreeChunk>> voices_;
};
