#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <memory>
#include <string>

#include "audio/music.h"

// Tunes on the mixer SdlAudio opened: a recording (Ogg Vorbis) decoded as it
// plays, or a MIDI file through SDL_mixer's synthesiser. The end of each play
// reaches the main loop as an SDL event that the window turns into
// MusicFinished; stopping, closing or starting again never do.
//
// A recording loops inside the decoder, which goes on at its first sample
// right after its last: a restart from the main loop would come a frame late
// and leave a gap. Its end is still reported when the tune has played its
// length, and the replay that answers it only acknowledges the loop already
// made. A MIDI tune is played once and started again by that replay; its
// notes' release covers the moment in between.
class SdlMusic : public MusicDevice {
 public:
  SdlMusic() = default;
  ~SdlMusic() override;
  SdlMusic(const SdlMusic&) = delete;
  SdlMusic& operator=(const SdlMusic&) = delete;

  // Chooses the soundfont, sets the volume (0..100) and listens for the end
  // of plays. Needs the mixer.
  void Start(int volumePercent);
  // A new volume (0..100), heard at once.
  void SetVolume(int volumePercent);

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
  bool loopsItself_ = false;
  std::unique_ptr<Mix_Music, FreeMusic> music_;
};
