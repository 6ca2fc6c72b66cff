#include "platform/web/web_music.h"

#include <emscripten.h>

namespace {

// clang-format off
EM_JS(int, SoundMusicOpen, (const char* file), { return VelloriaSound.musicOpen(UTF8ToString(file)) ? 1 : 0; });
EM_JS(int, SoundMusicPlay, (), { return VelloriaSound.musicPlayFromStart() ? 1 : 0; });
EM_JS(int, SoundMusicPause, (), { return VelloriaSound.musicPause() ? 1 : 0; });
EM_JS(int, SoundMusicResume, (), { return VelloriaSound.musicResume() ? 1 : 0; });
EM_JS(void, SoundMusicClose, (), { VelloriaSound.musicClose(); });
EM_JS(int, SoundMusicTakeEnd, (), { return VelloriaSound.musicTakeEnd() ? 1 : 0; });
// clang-format on

// "/any/folder/Music01.mid" -> "Music01.ogg", a file beside the page.
std::string RenderedTune(const std::string& path) {
  std::string name = path.substr(path.find_last_of('/') + 1);
  return name.substr(0, name.find_last_of('.')) + ".ogg";
}

}  // namespace

bool WebMusic::Open(const std::string& path) { return SoundMusicOpen(RenderedTune(path).c_str()) != 0; }
bool WebMusic::PlayFromStart() { return SoundMusicPlay() != 0; }
bool WebMusic::Pause() { return SoundMusicPause() != 0; }
bool WebMusic::Resume() { return SoundMusicResume() != 0; }
void WebMusic::Close() { SoundMusicClose(); }
bool WebMusic::TakeEndOfPlay() { return SoundMusicTakeEnd() != 0; }
