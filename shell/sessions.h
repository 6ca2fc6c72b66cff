#pragma once

#include <filesystem>
#include <functional>

#include "app/options.h"
#include "shell/session_request.h"

class Application;
class InputDriver;
class SceneFactory;
class Shell;
struct PlatformServices;

// Plays the session the command line asks for, then each one the options
// ask for (a kept run watched, a practice run, the title again) in the same
// window, until a session ends without asking for another. Returns the
// last session's exit code. started, when given, sees each session once it
// has started.
int PlaySessions(const Options& given, PlatformServices& services, Shell& shell, SceneFactory& scenes,
                 InputDriver* driver, const std::function<void(Application&)>& started = {});

// A session the options asked for, with the command line's other choices;
// shelf is the folder of kept runs (a watched run's, and where the others
// keep theirs).
Options SessionOptions(const Options& given, const SessionRequest& next, const std::filesystem::path& shelf);
