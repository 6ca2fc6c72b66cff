#include "app/options.h"

#include <charconv>
#include <functional>

#include "app/run_start.h"
#include "base/printable.h"

namespace {

constexpr int kMinScale = 1;
constexpr int kMaxScale = 8;

template <typename T>
bool ParseNumber(std::string_view word, T& out) {
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, out);
  return ec == std::errc() && ptr == end;
}

using Setter = std::function<bool(Options&, std::string_view)>;

struct OptionSpec {
  const char* name;
  const char* argument;  // null: a flag without argument
  const char* help;
  Setter set;
  // What a bad value is told it should have been (null: the argument).
  const char* expected = nullptr;
};

bool ParseShot(Options& o, std::string_view v) {
  size_t colon = v.find(':');
  ShotRequest shot;
  if (colon == std::string_view::npos || !ParseNumber(v.substr(0, colon), shot.frame) || shot.frame < 0 ||
      colon + 1 == v.size()) {
    return false;
  }
  shot.path = std::string(v.substr(colon + 1));
  o.shots.push_back(shot);
  return true;
}

// Whether the stage has the level is known only once the level maps can be
// read: the application checks it at start-up.
bool ParseStart(Options& o, std::string_view v) {
  int stage = 0;
  int level = 0;
  int potions = 0;
  if (!ParseStageLevel(std::string(v), stage, level, potions)) return false;
  o.startStage = stage;
  o.startLevel = level;
  o.startPotions = potions;
  return true;
}

bool ParseInRange(std::string_view v, std::optional<int>& out, int low, int high) {
  int n = 0;
  if (!ParseNumber(v, n) || n < low || n > high) return false;
  out = n;
  return true;
}

bool ParseVolume(std::string_view v, std::optional<int>& volume) { return ParseInRange(v, volume, 0, kFullVolume); }

bool SetText(std::string& field, std::string_view v) { return !(field = v).empty(); }

const std::vector<OptionSpec>& Table() {
  static const std::vector<OptionSpec> table = {
      {"--window", nullptr, "play in a window this time (the settings keep what you chose last)",
       [](Options& o, std::string_view) {
         o.fullScreen = false;
         return true;
       }},
      {"--fullscreen", nullptr, "play full screen this time",
       [](Options& o, std::string_view) {
         o.fullScreen = true;
         return true;
       }},
      {"--scale", "N", "the window's size this time: N times 640x480, 1 to 8 (lowered to fit the desktop)",
       [](Options& o, std::string_view v) { return ParseInRange(v, o.scale, kMinScale, kMaxScale); }, "1 to 8"},
      {"--mute", nullptr, "no sound and no music", [](Options& o, std::string_view) { return o.mute = true; }},
      {"--music-volume", "N", "music volume this time, 0 to 100",
       [](Options& o, std::string_view v) { return ParseVolume(v, o.musicVolume); }, "0 to 100"},
      {"--sound-volume", "N", "sound effects volume this time, 0 to 100",
       [](Options& o, std::string_view v) { return ParseVolume(v, o.soundVolume); }, "0 to 100"},
      {"--start", "S-L[:P]", "begin with a game at stage S, level L, with P potions", ParseStart,
       "S-L[:P], stage 1 to 4, level 1 to 16, potions 0 to 9999"},
      {"--practice", "S-L[:P]", "a practice run: --start that leaves the ranking alone and ends at its game over",
       [](Options& o, std::string_view v) { return ParseStart(o, v) && (o.practice = true); },
       "S-L[:P], stage 1 to 4, level 1 to 16, potions 0 to 9999"},
      {"--headless", nullptr, "no window, no audio, a virtual clock: one frame per loop, as fast as possible",
       [](Options& o, std::string_view) { return o.headless = true; }},
      {"--frames", "N", "end after N frames",
       [](Options& o, std::string_view v) {
         int64_t n = 0;
         if (!ParseNumber(v, n) || n < 0) return false;
         o.frames = n;
         return true;
       },
       "a number of frames, 0 or more"},
      {"--seed", "N", "seed of the random generator",
       [](Options& o, std::string_view v) {
         uint32_t n = 0;
         if (!ParseNumber(v, n)) return false;
         o.seed = n;
         return true;
       },
       "0 to 4294967295"},
      {"--input", "FILE", "replay the key and focus events of an input file",
       [](Options& o, std::string_view v) { return SetText(o.inputFile, v); }},
      {"--watch", "FILE", "watch an input file or a kept run in the window, as a replay",
       [](Options& o, std::string_view v) { return (o.watch = true) && SetText(o.inputFile, v); }},
      {"--keep-runs", "FOLDER", "keep every run as a replay in FOLDER, or none (default: live runs in the data folder)",
       [](Options& o, std::string_view v) {
         o.keepNone = v == "none";
         return o.keepNone || SetText(o.keepFolder, v);
       }},
      {"--record", "FILE", "record this session's events as an input file",
       [](Options& o, std::string_view v) { return SetText(o.recordFile, v); }},
      {"--shot", "FRAME:FILE.png", "save the picture presented after FRAME (repeatable)", ParseShot},
      {"--sound-log", "FILE", "log every effect and music command with its frame",
       [](Options& o, std::string_view v) { return SetText(o.soundLog, v); }},
      {"--stats", "FILE", "log the game's state once per frame",
       [](Options& o, std::string_view v) { return SetText(o.statsFile, v); }},
      {"--ranking", "FILE", "keep the ranking in FILE (default: the settings folder; headless runs keep none)",
       [](Options& o, std::string_view v) { return SetText(o.rankingFile, v); }},
      {"--settings", "FILE", "keep the settings in FILE (default: the settings folder; headless runs keep none)",
       [](Options& o, std::string_view v) { return SetText(o.settingsFile, v); }},
      {"--picture-log", "FILE", "log a digest of the presented picture once per frame",
       [](Options& o, std::string_view v) { return SetText(o.pictureLog, v); }},
      {"--no-picture", nullptr, "development: draw nothing (the game plays the same, several times faster)",
       [](Options& o, std::string_view) { return o.noPicture = true; }},
      {"--autopilot", nullptr, "development: a bot plays through the normal input path",
       [](Options& o, std::string_view) { return o.autopilot = true; }},
      {"--soak", "SEED", "development: random keys and focus changes from SEED (never Escape)",
       [](Options& o, std::string_view v) {
         uint32_t n = 0;
         if (!ParseNumber(v, n)) return false;
         o.soakSeed = n;
         return true;
       },
       "a seed, 0 to 4294967295"},
      {"--invulnerable", nullptr, "development: the player is never hit",
       [](Options& o, std::string_view) { return o.invulnerable = true; }},
      {"--help", nullptr, "show this text", [](Options& o, std::string_view) { return o.help = true; }},
      {"--version", nullptr, "show the version", [](Options& o, std::string_view) { return o.version = true; }},
  };
  return table;
}

const OptionSpec* Find(std::string_view name) {
  for (const OptionSpec& s : Table()) {
    if (name == s.name) return &s;
  }
  return nullptr;
}

}  // namespace

std::optional<Options> ParseOptions(int argc, const char* const* argv, std::string& error) {
  Options options;
  bool windowGiven = false;
  bool fullScreenGiven = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    std::string_view value;
    size_t eq = arg.find('=');
    bool inlineValue = arg.starts_with("--") && eq != std::string_view::npos;
    std::string_view name = inlineValue ? arg.substr(0, eq) : arg;
    const OptionSpec* option = Find(name);
    if (!option) {
      error = "unknown option " + Printable(arg) + " (see --help)";
      return std::nullopt;
    }
    if (option->argument) {
      if (inlineValue) {
        value = arg.substr(eq + 1);
      } else if (i + 1 < argc && !std::string_view(argv[i + 1]).starts_with("--")) {
        value = argv[++i];
      } else {
        // "--ranking --frames 1" is a forgotten file name, not a file called
        // "--frames"; a value that starts so is given as --ranking=--frames.
        error = std::string(option->name) + " needs " + option->argument +
                (i + 1 < argc ? ", not the option " + Printable(argv[i + 1]) : "");
        return std::nullopt;
      }
    } else if (inlineValue) {
      error = std::string(option->name) + " takes no value";
      return std::nullopt;
    }
    if (!option->set(options, value)) {
      error = std::string(option->name) + ": expected " + (option->expected ? option->expected : option->argument) +
              ", not \"" + Printable(value) + "\"";
      return std::nullopt;
    }
    windowGiven = windowGiven || name == "--window";
    fullScreenGiven = fullScreenGiven || name == "--fullscreen";
  }
  if (windowGiven && fullScreenGiven) {
    error = "--window and --fullscreen ask for both; choose one";
    return std::nullopt;
  }
  if (options.noPicture && (!options.shots.empty() || !options.pictureLog.empty())) {
    error = "--no-picture draws nothing for --shot or --picture-log to keep";
    return std::nullopt;
  }
  // A picture after a frame the run never reaches would be missed in silence.
  for (const ShotRequest& shot : options.shots) {
    if (options.frames && shot.frame >= *options.frames) {
      std::string ran =
          *options.frames == 0 ? "runs no frame" : "ends after frame " + std::to_string(*options.frames - 1);
      error = "--shot " + std::to_string(shot.frame) + ": the run ends first (--frames " +
              std::to_string(*options.frames) + " " + ran + ")";
      return std::nullopt;
    }
  }
  if (options.autopilot && options.soakSeed) {
    error = "--autopilot and --soak both drive the keys; choose one";
    return std::nullopt;
  }
  return options;
}

std::string HelpText() {
  std::string text =
      "Usage: velloria [OPTION]...\n"
      "A witch on a broom against formations of diving creatures.\n\n"
      "Keys: arrows move, Space or Ctrl fire, Enter or Space confirm, P pause,\n"
      "S fast mode, F1 options, Alt+Enter full screen or window, F12 screenshot,\n"
      "Escape quit.\n\n"
      "Options:\n";
  for (const OptionSpec& s : Table()) {
    std::string left = std::string("  ") + s.name + (s.argument ? std::string(" ") + s.argument : "");
    if (left.size() < 26)
      left.resize(26, ' ');
    else
      left += "  ";
    text += left + s.help + "\n";
  }
  return text;
}
