#include "shell/run_settings.h"

#include "shell/settings_file.h"

std::string SettingsPathFor(const Options& options) {
  if (!options.settingsFile.empty()) return options.settingsFile;
  return options.headless ? std::string() : SettingsFile::DefaultPath();
}

Settings ForThisRun(const Settings& saved, const Options& options) {
  Settings run = saved;
  if (options.fullScreen) run.fullScreen = *options.fullScreen;
  if (options.scale) run.window.reset();  // the scale gives the size
  if (options.musicVolume) run.musicVolume = *options.musicVolume;
  if (options.soundVolume) run.soundVolume = *options.soundVolume;
  return run;
}
