#include "server/hall_options.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace {

struct Option {
  const char* name;
  const char* value;  // null: a flag
  const char* help;
  std::function<bool(HallOptions&, std::string_view)> set;
};

template <typename T>
bool Number(std::string_view text, T& out, T low, T high) {
  T value{};
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high) return false;
  out = value;
  return true;
}

const std::vector<Option>& Table() {
  static const std::vector<Option> table = {
      {"--db", "FILE", "the SQLite file of runs (made when missing; default hall.db)",
       [](HallOptions& o, std::string_view v) { return o.db = v, !v.empty(); }},
      {"--postgres", "CONNINFO", "keep the runs in PostgreSQL instead (a libpq connection string)",
       [](HallOptions& o, std::string_view v) { return o.postgres = v, !v.empty(); }},
      {"--listen", "HOST:PORT", "where to take requests (default 127.0.0.1:8080; port 0: any free one)",
       [](HallOptions& o, std::string_view v) { return o.listen = v, !v.empty(); }},
      {"--site", "DIR", "the game's page, served under /play/ (build-web/site)",
       [](HallOptions& o, std::string_view v) { return o.site = v, !v.empty(); }},
      {"--page", "DIR", "the hall's page, served at / (default: hall-page beside the program)",
       [](HallOptions& o, std::string_view v) { return o.page = v, !v.empty(); }},
      {"--workers", "N", "runs verified at once (default: one per core)",
       [](HallOptions& o, std::string_view v) { return Number(v, o.workers, 1, 256); }},
      {"--queue", "N", "runs that may wait for a verifier before new ones get 503 (default 64)",
       [](HallOptions& o, std::string_view v) { return Number(v, o.queue, 1, 100000); }},
      {"--rate", "N", "runs an address may send a minute (default 6)",
       [](HallOptions& o, std::string_view v) {
         int n = 0;
         return Number(v, n, 1, 1000000) && (o.submitsPerMinute = n, true);
       }},
      {"--burst", "N", "runs an address may send at once before the rate holds (default 10)",
       [](HallOptions& o, std::string_view v) {
         int n = 0;
         return Number(v, n, 1, 1000000) && (o.submitBurst = n, true);
       }},
      {"--max-frames", "N", "the longest run verified, in frames (default 500000)",
       [](HallOptions& o, std::string_view v) { return Number(v, o.maxFrames, int64_t{1}, int64_t{100000000}); }},
      {"--max-seconds", "N", "the longest a verification may take (default 20)",
       [](HallOptions& o, std::string_view v) { return Number(v, o.maxSeconds, 1, 3600); }},
      {"--hide", "ID", "take run ID off the lists (it is kept), then exit",
       [](HallOptions& o, std::string_view v) {
         int64_t id = 0;
         return Number(v, id, int64_t{1}, INT64_MAX) && (o.hide = id, true);
       }},
      {"--verify", nullptr, "verify the run file on standard input and print the verdict (what each worker runs)",
       [](HallOptions& o, std::string_view) { return o.verify = true; }},
      {"--help", nullptr, "this text", [](HallOptions& o, std::string_view) { return o.help = true; }},
      {"--version", nullptr, "the version", [](HallOptions& o, std::string_view) { return o.version = true; }},
  };
  return table;
}

}  // namespace

std::optional<HallOptions> ParseHallOptions(int argc, const char* const* argv, std::string& error) {
  HallOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    const Option* found = nullptr;
    for (const Option& option : Table()) {
      if (arg == option.name) found = &option;
    }
    if (!found) {
      error = "unknown option " + std::string(arg) + " (see --help)";
      return std::nullopt;
    }
    std::string_view value;
    if (found->value) {
      if (i + 1 >= argc) {
        error = std::string(found->name) + " needs " + found->value;
        return std::nullopt;
      }
      value = argv[++i];
    }
    if (!found->set(options, value)) {
      error = std::string(found->name) + ": \"" + std::string(value) + "\" is not a usable " + found->value;
      return std::nullopt;
    }
  }
  return options;
}

std::string HallHelpText() {
  std::string text =
      "Usage: velloria-hall [options]\n"
      "The Velloria hall of fame: replays every run sent to it and ranks what it really scored.\n\n";
  for (const Option& option : Table()) {
    std::string left = std::string("  ") + option.name + (option.value ? std::string(" ") + option.value : "");
    left.resize(std::max<size_t>(left.size() + 1, 26), ' ');
    text += left + option.help + "\n";
  }
  return text;
}
