#include "platform/sdl_audio.h"

#include <cstdio>

namespace {

constexpr int kDeviceRate = 44100;
constexpr int kDeviceChannels = 2;
// 46 ms a buffer, about one frame of play: half of that woke the mixer twice
// as often, which cost as much processor time as decoding the music.
constexpr int kDeviceBufferFrames = 2048;
// Every effect is stored as 22050 Hz, 8-bit unsigned, one channel, its true
// peak (the peak between the samples as well) at -1 dBFS at most. It is
// handed to SDL as 16-bit samples at a quarter of full scale: several
// effects sound at once (two large explosions over a volley) on top of the
// music, and this keeps their sum with the music's peaks below full scale
// and the effects about as loud as the music.
constexpr uint32_t kEffectRate = 22050;
constexpr uint16_t kEffectChannels = 1;
constexpr uint16_t kConvertedBits = 16;
constexpr int kGainNumerator = 1;
constexpr int kGainDenominator = 4;
constexpr size_t kWaveHeaderSize = 44;

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, static_cast<uint16_t>(v));
  PutU16(out, static_cast<uint16_t>(v >> 16));
}

void PutId(std::vector<uint8_t>& out, const char* id) { out.insert(out.end(), id, id + 4); }

// The samples as a plain 16-bit WAV file in memory, so that SDL reads them
// with their true rate and converts them to the device's format.
std::vector<uint8_t> WrapInWave(const std::vector<uint8_t>& samples) {
  auto dataSize = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(kWaveHeaderSize + dataSize);
  PutId(out, "RIFF");
  PutU32(out, static_cast<uint32_t>(kWaveHeaderSize - 8) + dataSize);
  PutId(out, "WAVE");
  PutId(out, "fmt ");
  PutU32(out, 16);
  PutU16(out, 1);  // PCM
  PutU16(out, kEffectChannels);
  PutU32(out, kEffectRate);
  PutU32(out, kEffectRate * kEffectChannels * kConvertedBits / 8);
  PutU16(out, kEffectChannels * kConvertedBits / 8);
  PutU16(out, kConvertedBits);
  PutId(out, "data");
  PutU32(out, dataSize);
  for (uint8_t sample : samples) {
    // 8-bit samples are unsigned around 128; 16-bit ones signed around 0.
    int value = (static_cast<int>(sample) - 128) * 256 * kGainNumerator / kGainDenominator;
    PutU16(out, static_cast<uint16_t>(static_cast<int16_t>(value)));
  }
  return out;
}

}  // namespace

SdlAudio::~SdlAudio() {
  ReleaseAll();
  if (mixerOpen_) {
    Mix_CloseAudio();
    Mix_Quit();
  }
  if (audioStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS);
}

bool SdlAudio::Open() {
  // Events too: the end of a tune comes back as one.
  if (SDL_InitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS) != 0) {
    std::fprintf(stderr, "velloria: no sound: %s\n", SDL_GetError());
    return false;
  }
  audioStarted_ = true;
  if (Mix_OpenAudio(kDeviceRate, AUDIO_S16SYS, kDeviceChannels, kDeviceBufferFrames) != 0) {
    std::fprintf(stderr, "velloria: no sound: %s\n", Mix_GetError());
    return false;
  }
  mixerOpen_ = true;
  Mix_AllocateChannels(0);
  return true;
}

void SdlAudio::SetVolume(int percent) {
  volume_ = percent * MIX_MAX_VOLUME / 100;
  for (auto& voice : voices_) Mix_VolumeChunk(voice.get(), volume_);
}

void SdlAudio::StopAll() {
  if (mixerOpen_) Mix_HaltChannel(-1);
}

int SdlAudio::CreateVoice(const std::vector<uint8_t>& samples) {
  if (!mixerOpen_ || samples.empty()) return -1;
  std::vector<uint8_t> wave = WrapInWave(samples);
  SDL_RWops* in = SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size()));
  if (!in) return -1;
  Mix_Chunk* chunk = Mix_LoadWAV_RW(in, 1);
  if (!chunk) return -1;
  Mix_VolumeChunk(chunk, volume_);
  voices_.emplace_back(chunk);
  Mix_AllocateChannels(static_cast<int>(voices_.size()));
  return static_cast<int>(voices_.size()) - 1;
}

void SdlAudio::Restart(int voice, bool loop) {
  if (voice < 0 || static_cast<size_t>(voice) >= voices_.size()) return;
  // Playing on the voice's own channel cuts off what still sounds there.
  Mix_HaltChannel(voice);
  Mix_PlayChannel(voice, voices_[static_cast<size_t>(voice)].get(), loop ? -1 : 0);
}

void SdlAudio::ReleaseAll() {
  if (!mixerOpen_) return;
  Mix_HaltChannel(-1);
  voices_.clear();
  Mix_AllocateChannels(0);
}
