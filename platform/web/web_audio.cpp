#include "platform/web/web_audio.h"

#include <emscripten.h>

namespace {

// clang-format off
EM_JS(int, SoundCreateVoice, (const uint8_t* samples, int count),
      { return VelloriaSound.createVoice(HEAPU8.slice(samples, samples + count)); });
EM_JS(void, SoundRestart, (int voice, int loop), { VelloriaSound.restart(voice, loop !== 0); });
EM_JS(void, SoundReleaseAll, (), { VelloriaSound.releaseAll(); });
// clang-format on

}  // namespace

WebAudio::~WebAudio() { ReleaseAll(); }

int WebAudio::CreateVoice(const std::vector<uint8_t>& samples) {
  if (samples.empty()) return -1;
  return SoundCreateVoice(samples.data(), static_cast<int>(samples.size()));
}

void WebAudio::Restart(int voice, bool loop) { SoundRestart(voice, loop ? 1 : 0); }

void WebAudio::ReleaseAll() { SoundReleaseAll(); }
