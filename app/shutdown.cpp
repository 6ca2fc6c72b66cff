#include "app/shutdown.h"

#include "app/app_block.h"
#include "app/host.h"
#include "app/sequencer.h"
#include "audio/music.h"
#include "audio/sound_list.h"
#include "gfx/display.h"
#include "input/input.h"

namespace {
Host* host = nullptr;
Sequencer* sequencer = nullptr;
bool quitRequested = false;
int quitCode = 0;
}  // namespace

void SetShutdownTargets(Host* h, Sequencer* s) {
  host = h;
  sequencer = s;
}

void Shutdown(const char* message) {
  AppBlock& app = GetAppBlock();
  app.paused = 1;
  CloseMusic();
  if (sequencer) sequencer->DeleteAll();
  app.soundList.reset();
  ReleaseInput();
  ReleaseSurfaces();
  ReleaseDisplay();
  if (host) {
    host->ShowCursor(true);
    host->HideWindow();
    if (message) host->ShowMessage("Velloria Message", message);
  }
  quitRequested = true;
}

bool IsQuitRequested() { return quitRequested; }
int QuitCode() { return quitCode; }
void SetQuitCode(int code) { quitCode = code; }
void ResetShutdown() {
  quitRequested = false;
  quitCode = 0;
}
