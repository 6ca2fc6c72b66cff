#pragma once

#include <string>

#include "app/options.h"
#include "shell/settings.h"

// The settings file a run keeps: the one --settings names, else the
// settings folder's in a live run; none in a headless run, so that what it
// plays never depends on the machine.
std::string SettingsPathFor(const Options& options);

// What a run plays with: the saved settings, with what the command line
// gives for this run only (--window, --fullscreen, --scale and the volumes).
Settings ForThisRun(const Settings& saved, const Options& options);
