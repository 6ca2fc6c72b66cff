#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <memory>
#include <string>

#include "audio/music.h"

// MIDI tunes through SDL_mixer's synthesiser, on the mixer SdlAudio opened.
// The end of each play (when the tune's last track ends) reaches the main
// loop as an SDL event that the window turns into MusicFinished; stopping,
// closing or starting again never do.
class SdlMusic : public MusicDevice {
 public:
  SdlMusic() = default;
  ~SdlMusic() override;
  SdlMusic(const SdlMusic&) = delete;
  SdlMusic& operator=(const SdlMusic&) = delete;

  // Chooses the soundfont and listens for the end of plays. Needs the mixer.
  void Start();

  bool Open(const std::string& path) override;
  bool PlayFromStart() override;
  bool Pause() override;
  bool Resume() override;
  void Close() override;

  // Whether an SDL event reports the end of the play now running; the end of
  // an earlier play that arrives after a later command is stale.
  static bool IsEndOfPlay(const SDL_Event& event);

 private:
  struct FreeMusic {
    void operator()(Mix_Music* music) const { Mix_FreeMusic(music); }
  };
  // Runs a command that may halt the tune, without the halt being reported.
  template <typename Command>
  void Quietly(Command command);
  static void OnPlayFinished();

  bool started_ = false;
  int rate_ = 0;
  // The open tune's length in output frames, up to its last track's end.
  int64_t tuneFrames_ = 0;
  std::unique_ptr<Mix_Music, FreeMusic> music_;
};
