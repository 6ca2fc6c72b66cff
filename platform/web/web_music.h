#pragma once

#include <string>

#include "audio/music.h"

// The tunes as pre-rendered Ogg Vorbis files beside the page ("Music01.mid"
// is played from Music01.ogg), through Web Audio (platform/web/site/sound.js).
// A tune loops on the audio clock without a gap: its source loops the whole
// file, and the end of each play is reported when the clock passes it; the
// game's replay that follows continues the play already under way.
class WebMusic : public MusicDevice {
 public:
  bool Open(const std::string& path) override;
  bool PlayFromStart() override;
  bool Pause() override;
  bool Resume() override;
  void Close() override;

  // Whether the current play reached its end since the last call (once per play).
  bool TakeEndOfPlay();
};
