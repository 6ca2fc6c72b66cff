#include "platform/sdl_music.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string_view>
#include <vector>

#include "audio/midi_length.h"
#include "audio/soundfont_finder.h"
#include "base/printable.h"
#include "base/utf8_path.h"

namespace {

constexpr int kPlayOnce = 1;
constexpr int kLoopForever = -1;
// The recordings are made at -21 LUFS, with their headroom. The synthesiser
// at the mixer's full music volume would clip; at half of it a MIDI tune
// sits near the recordings' loudness (-20 LUFS with TimGM6mb).
constexpr int kRecordingVolume = MIX_MAX_VOLUME;
constexpr int kSynthVolume = MIX_MAX_VOLUME / 2;
constexpr int64_t kLengthUnknown = INT64_MAX / 2;

// Shared with the audio thread, where the end of a play is found.
std::atomic<Uint32> endEventType{0};
// Counts the commands that end or replace a play; an end event carries the
// count of its time, so one from before a later command is known to be stale.
std::atomic<Sint32> playNumber{0};
// Output frames of the current play still to come before its tune's end.
std::atomic<int64_t> framesLeft{kLengthUnknown};
std::atomic<int64_t> tuneLength{kLengthUnknown};
// Output frames mixed since the play began: a play that ends before any were
// mixed could not be played at all.
std::atomic<int64_t> framesPlayed{0};
std::atomic<bool> counting{false};
std::atomic<bool> loopsInDecoder{false};
// The current play's end has been reported (and, for a tune that loops in
// its decoder, not yet answered by a replay).
std::atomic<bool> ended{false};
int bytesPerFrame = 4;
int volumePercent = 100;

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
  framesPlayed += frames;
  int64_t left = framesLeft.fetch_sub(frames) - frames;
  if (left > 0 || left + frames <= 0) return;
  // A recording has already begun again: count its next pass from here.
  if (loopsInDecoder) framesLeft += tuneLength;
  if (!ended.exchange(true)) PushEndOfPlay();
}

// A MIDI tune's length in output frames; nothing when the file is no MIDI
// file at all. One that reads oddly may still play: its length is unknown.
std::optional<int64_t> MidiFrames(const std::string& path, int rate) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::optional<double> seconds = MidiFileSeconds(bytes);
  if (seconds && *seconds > 0) return static_cast<int64_t>(*seconds * rate);
  constexpr std::string_view kHeader = "MThd";
  if (bytes.size() < kHeader.size() || !std::equal(kHeader.begin(), kHeader.end(), bytes.begin())) return std::nullopt;
  return kLengthUnknown;
}

// Says once per file and run that a tune is there but cannot be played.
void ReportUnplayable(const std::string& path, const char* why) {
  static std::set<std::string> reported;
  if (reported.insert(path).second)
    std::fprintf(stderr, "velloria: cannot play %s: %s\n", PrintablePath(path).c_str(), why);
}

}  // namespace

SdlMusic::~SdlMusic() {
  Close();
  if (started_) {
    Mix_HookMusicFinished(nullptr);
    Mix_SetPostMix(nullptr, nullptr);
  }
}

void SdlMusic::Start(int volume) {
  volumePercent = volume;
  std::string font = FindSoundFont(std::getenv("SDL_SOUNDFONTS"));
  if (!font.empty()) Mix_SetSoundFonts(font.c_str());
  // Without a decoder or synthesiser those tunes fail to load: silence.
  Mix_Init(MIX_INIT_OGG | MIX_INIT_MID);
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
  counting = false;
  if (framesPlayed == 0) {
    // The synthesiser gave up at once (a damaged file): silence, no replay,
    // and one line in the whole run.
    static std::atomic<bool> told{false};
    if (!told.exchange(true)) std::fputs("velloria: the synthesiser could not play a tune\n", stderr);
    return;
  }
  // The synthesiser's own end comes after the last notes died away; it only
  // counts when the tune's length was unknown.
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
  // A missing file is no fault: the game simply has no music there.
  if (!std::ifstream(PathFromUtf8(path), std::ios::binary)) return false;
  music_.reset(Mix_LoadMUS(path.c_str()));
  if (!music_) {
    ReportUnplayable(path, Mix_GetError());
    return false;
  }
  loopsItself_ = Mix_GetMusicType(music_.get()) != MUS_MID;
  if (loopsItself_) {
    double seconds = Mix_MusicDuration(music_.get());
    tuneFrames_ = seconds > 0 ? std::llround(seconds * rate_) : kLengthUnknown;
  } else if (std::optional<int64_t> frames = MidiFrames(path, rate_)) {
    tuneFrames_ = *frames;
  } else {
    ReportUnplayable(path, "not a MIDI file");
    music_.reset();
    return false;
  }
  SetVolume(volumePercent);
  return true;
}

void SdlMusic::SetVolume(int volume) {
  volumePercent = volume;
  if (!music_) return;
  int level = loopsItself_ ? kRecordingVolume : kSynthVolume;
  Mix_VolumeMusic(level * volumePercent / 100);
}

bool SdlMusic::PlayFromStart() {
  if (!music_) return false;
  // The answer to a recording's end: its decoder went on from its start.
  if (loopsItself_ && ended.exchange(false) && Mix_PlayingMusic()) return true;
  bool ok = false;
  Quietly([&] {
    framesLeft = tuneFrames_;
    tuneLength = tuneFrames_;
    framesPlayed = 0;
    loopsInDecoder = loopsItself_;
    ended = false;
    ok = Mix_PlayMusic(music_.get(), loopsItself_ ? kLoopForever : kPlayOnce) == 0;
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
  // A MIDI tune that came to its end just before it was stopped starts
  // again, as the end of its play would have made it; a recording went on
  // by itself.
  if (ended && !loopsItself_) return PlayFromStart();
  ended = false;
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
