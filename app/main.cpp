#include <cstdio>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/game_scenes.h"
#include "app/headless_host.h"
#include "app/instance_lock.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "app/replay_shelf.h"
#include "base/program_arguments.h"
#include "base/utf8_path.h"
#include "drivers/input_drivers.h"
#include "platform/sdl_platform.h"
#ifdef VELLORIA_HALL_CLIENT
#include "platform/net/http_hall_sender.h"
#endif
#include "shell/run_settings.h"
#include "shell/sessions.h"
#include "shell/settings_file.h"
#include "shell/shell.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = ProgramArguments(argc, argv);
  std::vector<const char*> words;
  for (const std::string& word : arguments) words.push_back(word.c_str());
  std::string error;
  auto options = ParseOptions(static_cast<int>(words.size()), words.data(), error);
  if (!options) {
    std::fprintf(stderr, "velloria: %s\n", error.c_str());
    return 2;
  }
  if (options->help) {
    std::fputs(HelpText().c_str(), stdout);
    return 0;
  }
  if (options->version) {
    // One line, and the licences with it: every copy carries them.
    std::printf("velloria %s (code MIT, art and sound CC BY 4.0)\n", VELLORIA_VERSION);
    return 0;
  }
  GameSceneFactory scenes;
  scenes.SetInvulnerable(options->invulnerable);
  std::unique_ptr<InputDriver> driver = MakeInputDriver(*options);
  SettingsFile settings(SettingsPathFor(*options));
  if (options->headless) {
    // Headless runs take no lock, so tests can run side by side.
    HeadlessHost host;
    PlatformServices services;
    services.host = &host;
    services.holdToFire = ForThisRun(settings.Load(), *options).holdToFire;
    return RunApplication(*options, services, scenes, driver.get());
  }
  InstanceLock lock;
  if (!lock.Acquire()) {
    // Another copy is running: leave it alone, and say why nothing opens.
    const char* why = "Velloria is already running.";
    std::fprintf(stderr, "%s\n", why);
    TellWithoutTerminal(why);
    return 0;
  }
  // Every run played live is kept as a replay of its own.
  if (options->keepFolder.empty() && options->inputFile.empty() && !options->keepNone) {
    options->keepFolder = Utf8Of(KeptRunsFolder());
    options->keepWithoutFolder = options->keepFolder.empty();
  }
  const Settings saved = settings.Load();
  const Settings run = ForThisRun(saved, *options);
  auto platform = CreateSdlPlatform(*options, run);
  PlatformServices& services = platform->Services();
#ifdef VELLORIA_HALL_CLIENT
  // Made before the shell, so that it outlives it.
  std::unique_ptr<HallSender> hall = CreateHttpHallSender();
#endif
  Shell shell(*services.host, platform->Devices(), settings, saved, run);
  shell.Wrap(services);
  shell.SetWatching(options->watch);
#ifdef VELLORIA_HALL_CLIENT
  shell.SetHallSender(hall.get());
#endif
  return PlaySessions(*options, services, shell, scenes, driver.get());
}
