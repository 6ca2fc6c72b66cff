#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ShotRequest {
  int64_t frame = 0;
  std::string path;
};

constexpr int kFullVolume = 100;

// Everything the command line can set. One table in options.cpp both parses
// the options and prints --help.
struct Options {
  bool headless = false;
  std::optional<int64_t> frames;
  std::optional<uint32_t> seed;
  std::string inputFile;
  // --watch FILE: the input file played in the live picture, as a replay
  // (the player's keys and pad reach the game no more, the ranking stays).
  bool watch = false;
  std::string recordFile;
  // Every run played is kept as a replay of its own in this folder (the
  // desktop's entry fills in the data folder for live runs).
  std::string keepFolder;
  bool keepNone = false;  // --keep-runs none
  // Runs are to be kept but there is no data folder: each run says so.
  bool keepWithoutFolder = false;
  std::vector<ShotRequest> shots;
  // --window and --fullscreen, --scale and the volumes override the
  // player's settings for this run only (nothing: the settings decide).
  std::optional<bool> fullScreen;
  std::optional<int> scale;
  bool mute = false;
  // Percentages of the full level; 0 silences one side of the mix.
  std::optional<int> musicVolume;
  std::optional<int> soundVolume;
  // --settings FILE: the player's settings are read from and saved to FILE
  // (default: the settings folder in live runs; headless runs keep none).
  std::string settingsFile;
  std::string soundLog;
  std::string statsFile;
  // --ranking FILE: the ranking is read from and saved to FILE.
  std::string rankingFile;
  std::string pictureLog;
  // --start S-L[:P]: begin with a game at stage S, level L with P potions.
  std::optional<int> startStage;
  int startLevel = 1;
  int startPotions = 0;
  // --practice S-L[:P]: the start is a practice run, kept as one; the
  // ranking is neither entered nor saved, and the session ends with the run.
  bool practice = false;
  // The session opens at the title, past the logo (a replay or a practice
  // run chosen in the options returns there).
  bool toTitle = false;
  bool autopilot = false;
  // --soak SEED: random keys and focus changes from this seed.
  std::optional<uint32_t> soakSeed;
  bool invulnerable = false;
  // --no-picture: nothing is drawn; the game plays the same, faster.
  bool noPicture = false;
  bool help = false;
  bool version = false;
};

// Parses argv. On an error returns nothing and sets error to a message.
std::optional<Options> ParseOptions(int argc, const char* const* argv, std::string& error);
std::string HelpText();
