// Plays every effect of the sound bank once, in slot order, then a tune with
// a stop and a resume in the middle, through the game's own live devices. For
// listening to the bank, or for recording it with SDL's disk audio driver:
//
//   SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=out.raw velloria_audition Music03.mid 20
//
// --tune-only as the first argument leaves the effects out.
// The tune is a file beside the program. Prints what it plays, and how often
// the tune came to its end and started again.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/application.h"
#include "app/host.h"
#include "audio/game_sounds.h"
#include "audio/music.h"
#include "audio/sound_list.h"
#include "platform/sdl_platform.h"

namespace {

constexpr uint32_t kGapMs = 150;
constexpr uint32_t kEffectRate = 22050;
constexpr uint32_t kStoppedMs = 1000;

int replays = 0;
bool quit = false;  // Ctrl+C or the end of the session

// Waits while handling the window's events, as the main loop would.
void Wait(Host& host, uint32_t ms) {
  uint32_t end = host.NowMs() + ms;
  for (uint32_t now = host.NowMs(); now < end && !quit; now = host.NowMs()) {
    HostEvent event;
    while (host.PollEvent(event)) {
      if (event.type == HostEventType::Quit) quit = true;
      if (event.type != HostEventType::MusicFinished) continue;
      ++replays;
      std::printf("%6u ms  end of play: replay\n", host.NowMs());
      ReplayMusic();
    }
    host.WaitEvent(static_cast<int>(end - now));
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool effects = !(argc > 1 && std::string(argv[1]) == "--tune-only");
  if (!effects) {
    --argc;
    ++argv;
  }
  const char* tune = argc > 1 ? argv[1] : "Music03.mid";
  int seconds = argc > 2 ? std::atoi(argv[2]) : 20;
  Settings run;
  run.fullScreen = false;
  auto platform = CreateSdlPlatform(Options{}, run);
  PlatformServices& services = platform->Services();
  if (!services.audio) {
    std::fprintf(stderr, "velloria_audition: no sound device\n");
    return 1;
  }
  Host& host = *services.host;
  if (effects) {
    NSoundList bank(services.audio);
    LoadGameSounds(bank);
    for (int slot = 0; slot < NSoundList::kSlots; ++slot) {
      const NSound* sound = bank.GetSound(slot);
      if (!sound || sound->GetDataSize() == 0) continue;
      std::printf("%6u ms  effect %d, %u bytes\n", host.NowMs(), slot, sound->GetDataSize());
      bank.Play(slot, 0);
      Wait(host, sound->GetDataSize() * 1000 / kEffectRate + kGapMs);
    }
  }
  SetMusicDevice(services.music);
  std::printf("%6u ms  tune %s: %s\n", host.NowMs(), tune, PlayMusic(tune) ? "playing" : "silent");
  uint32_t half = static_cast<uint32_t>(seconds > 0 ? seconds : 0) * 500;
  Wait(host, half);
  std::printf("%6u ms  stop\n", host.NowMs());
  StopMusic();
  Wait(host, kStoppedMs);
  std::printf("%6u ms  resume\n", host.NowMs());
  ResumeMusic();
  Wait(host, half);
  CloseMusic();
  Wait(host, kGapMs);
  SetMusicDevice(nullptr);
  std::printf("%6u ms  closed; the tune ended and started again %d times\n", host.NowMs(), replays);
  return 0;
}
