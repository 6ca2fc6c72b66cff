#include <SDL.h>
#include <unistd.h>

#include "platform/sdl_platform.h"

void TellWithoutTerminal(const char* text) {
  if (isatty(STDIN_FILENO) || isatty(STDERR_FILENO)) return;
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "Velloria", text, nullptr);
  SDL_Quit();
}
