#include "platform/sdl_music.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "audio/midi_length.h"
#include "audio/soundfont_finder.h"

namespace {

constexpr int kPlayOnce = 1;
// The mixer's full music volume drives the synthesiser hard enough to clip;
// half of it leaves headroom and sits the tunes a little under the effects.
constexpr int kMusicVolume = MIX_MAX_VOLUME / 2;
constexpr int64_t kLengthUnknown = INT64_MAX / 2;

// Shared with the audio thread, where the end of a play is found.
std::atomic<Uint32> endEventType{0};
// Counts the commands that end or replace a play; an end event carries the
// count of its time, so one from before a later command is known to be stale.
std::atomic<Sint32> playNumber{0};
// Output frames of the current play still to come before its tune's end.
std::atomic<int64_t> framesLeft{kLengthUnknown};
std::atomic<bool> counting{false};
// The current play has been reported as ended.
std::atomic<bool> ended{false};
int bytesPerFrame = 4;

void PushEndOfPlay() {
  SDL_Event event{};
  event.type = endEventType;
  event.user.code = playNumber;
  SDL_PushEvent(&event);
}

// After every mixed buffer: counts the music's frames and reports the end of
// the play when the tune's last track ends, not when its last notes have
// died away seconds later, so that the tune loops without a gap.
void OnMixed(void*, Uint8*, int bytes) {
  if (!counting) return;
  int64_t frames = bytes / bytesPerFrame;
  int64_t left = framesLeft.fetch_sub(frames) - frames;
  if (left <= 0 && left + frames > 0 && !ended.exchange(true)) PushEndOfPlay();
}

// A tune's length in output frames, or kLengthUnknown.
int64_t TuneFrames(const std::string& path, int rate) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::optional<double> seconds = MidiFileSeconds(bytes);
  if (!seconds || *seconds <= 0) return kLengthUnknown;
  return static_cast<int64_t>(*seconds * rate);
}

}  // namespace

SdlMusic::~SdlMusic() {
  Close();
  if (started_) {
    Mix_HookMusicFinished(nullptr);
    Mix_SetPostMix(nullptr, nullptr);
  }
}

void SdlMusic::Start() {
  std::string font = FindSoundFont(std::getenv("SDL_SOUNDFONTS"));
  if (!font.empty()) Mix_SetSoundFonts(font.c_str());
  // Without a synthesiser every tune fails to load, which means silence.
  Mix_Init(MIX_INIT_MID);
  Mix_VolumeMusic(kMusicVolume);
  Uint16 format = 0;
  int channels = 0;
  if (!Mix_QuerySpec(&rate_, &format, &channels)) return;
  bytesPerFrame = channels * SDL_AUDIO_BITSIZE(format) / 8;
  if (endEventType == 0) endEventType = SDL_RegisterEvents(1);
  if (endEventType == static_cast<Uint32>(-1) || bytesPerFrame <= 0) return;
  Mix_HookMusicFinished(&SdlMusic::OnPlayFinished);
  Mix_SetPostMix(&OnMixed, nullptr);
  started_ = true;
}

void SdlMusic::OnPlayFinished() {
  // The synthesiser's own end comes after the last notes died away; it only
  // counts when the tune's length was unknown.
  counting = false;
  if (!ended.exchange(true)) PushEndOfPlay();
}

bool SdlMusic::IsEndOfPlay(const SDL_Event& event) {
  return endEventType != 0 && event.type == endEventType && event.user.code == playNumber;
}

template <typename Command>
void SdlMusic::Quietly(Command command) {
  counting = false;
  ++playNumber;
  if (started_) Mix_HookMusicFinished(nullptr);
  command();
  if (started_) Mix_HookMusicFinished(&SdlMusic::OnPlayFinished);
}

bool SdlMusic::Open(const std::string& path) {
  Close();
  if (!started_) return false;
  music_.reset(Mix_LoadMUS(path.c_str()));
  if (!music_) return false;
  tuneFrames_ = TuneFrames(path, rate_);
  return true;
}

bool SdlMusic::PlayFromStart() {
  if (!music_) return false;
  bool ok = false;
  Quietly([&] {
    framesLeft = tuneFrames_;
    ended = false;
    ok = Mix_PlayMusic(music_.get(), kPlayOnce) == 0;
  });
  counting = ok;
  return ok;
}

bool SdlMusic::Pause() {
  if (!music_) return false;
  counting = false;
  // An end that raced the stop is dropped: Resume makes up for it.
  ++playNumber;
  Mix_PauseMusic();
  return true;
}

bool SdlMusic::Resume() {
  if (!music_) return false;
  // A tune that came to its end just before it was stopped starts again, as
  // the end of its play would have made it.
  if (ended) return PlayFromStart();
  Mix_ResumeMusic();
  counting = true;
  return true;
}

void SdlMusic::Close() {
  if (!music_) return;
  Quietly([&] {
    Mix_HaltMusic();
    music_.reset();
  });
}
