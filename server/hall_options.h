#pragma once

#include <cstdint>
#include <optional>
#include <string>

// velloria-hall's command line, parsed and described by one table.
struct HallOptions {
  std::string db = "hall.db";
  std::string postgres;  // a libpq connection string: the runs live there instead
  std::string listen = "127.0.0.1:8080";
  std::string site;  // the game's page (build-web/site)
  std::string page;  // the hall's page (default: hall-page beside the program)
  int workers = 0;   // 0: one per core
  int queue = 64;
  double submitsPerMinute = 6;
  double submitBurst = 10;
  int64_t maxFrames = 500000;  // about 5.5 hours of play at 25 frames a second
  int maxSeconds = 20;
  std::optional<int64_t> hide;
  bool verify = false;  // a child: verify the file on standard input, print the verdict
  bool help = false;
  bool version = false;
};

std::optional<HallOptions> ParseHallOptions(int argc, const char* const* argv, std::string& error);
std::string HallHelpText();
