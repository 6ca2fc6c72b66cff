#include "app/replay_shelf.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <regex>
#include <set>
#include <sstream>

#include "app/win_reg.h"
#include "base/utf8_path.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kIndexName = "index.txt";
constexpr int kTmYearBase = 1900;
constexpr const char* kIndexHeader =
    "# velloria kept runs: file date start potions furthest frames continues flags entries\n";
constexpr int kFirstNumber = 1;
constexpr int kLastNumber = 999;  // runs kept in one second
const std::regex kRunFileName(R"(run-[0-9]{8}-[0-9]{6}-[0-9]+\.txt)");

ReplaySaveStatus lastSave;

template <typename T>
bool ParseNumber(std::string_view word, T& out) {
  auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), out);
  return ec == std::errc() && ptr == word.data() + word.size();
}

std::string StartWord(const StartPoint& p) {
  if (p.kind == StartKind::Episode) return "episode-" + std::to_string(p.episode);
  return (p.kind == StartKind::Start ? "start-" : "practice-") + FormatStageLevel(p.stage, p.level, p.potions);
}

bool ParseStartWord(const std::string& word, StartPoint& p) {
  std::vector<std::string> parts = {"run"};
  size_t dash = word.find('-');
  if (dash == std::string::npos) return false;
  parts.push_back(word.substr(0, dash));
  parts.push_back(word.substr(dash + 1));
  RunStart start;
  std::string why;
  if (!ParseRunStartLine(parts, "", start, why)) return false;
  p = start.point;
  return true;
}

std::string Flags(const ShelfEntry& e) {
  std::string flags;
  for (auto [on, name] : {std::pair{e.ended, "ended"}, {e.ending, "ending"}, {e.kept, "kept"}}) {
    if (on) flags += (flags.empty() ? "" : ",") + std::string(name);
  }
  return flags.empty() ? "-" : flags;
}

bool ParseLine(const std::string& line, ShelfEntry& e) {
  std::istringstream in(line);
  std::string start, furthest, flags;
  if (!(in >> e.file >> e.date >> start >> e.potions >> furthest >> e.frames >> e.continues >> flags)) return false;
  if (!std::regex_match(e.file, kRunFileName) || !ParseStartWord(start, e.start)) return false;
  size_t dash = furthest.find('-');
  if (dash == std::string::npos || !ParseNumber(std::string_view(furthest).substr(0, dash), e.stage) ||
      !ParseNumber(std::string_view(furthest).substr(dash + 1), e.level)) {
    return false;
  }
  e.ended = flags.find("ended") != std::string::npos;
  e.ending = flags.find("ending") != std::string::npos;
  e.kept = flags.find("kept") != std::string::npos;
  for (std::string word; in >> word;) {
    size_t comma = word.find(',');
    RankEntry entry;
    std::string name;
    if (comma == std::string::npos || !ParseNumber(std::string_view(word).substr(0, comma), entry.score) ||
        !DecodeRankName(std::string_view(word).substr(comma + 1), name)) {
      return false;
    }
    std::memcpy(entry.name, name.data(), name.size());
    e.entered.push_back(entry);
  }
  return true;
}

bool SameLine(const RankEntry& a, const RankEntry& b) {
  return a.score == b.score && std::strncmp(a.name, b.name, sizeof a.name) == 0;
}

// The calendar from the clock, not gmtime_r, which not every system has.
std::string UtcNow(const char* format) {
  using namespace std::chrono;
  const auto now = floor<seconds>(system_clock::now());
  const auto today = floor<days>(now);
  const year_month_day date{today};
  const hh_mm_ss time{now - today};
  std::tm utc{};
  utc.tm_year = static_cast<int>(date.year()) - kTmYearBase;
  utc.tm_mon = static_cast<int>(static_cast<unsigned>(date.month())) - 1;
  utc.tm_mday = static_cast<int>(static_cast<unsigned>(date.day()));
  utc.tm_hour = static_cast<int>(time.hours().count());
  utc.tm_min = static_cast<int>(time.minutes().count());
  utc.tm_sec = static_cast<int>(time.seconds().count());
  char text[32];
  std::strftime(text, sizeof text, format, &utc);
  return text;
}

FileOutcome Fail(const fs::path& folder, FileOutcome outcome) {
  std::fprintf(stderr, "velloria: cannot keep the run in %s: %s\n", Utf8Of(folder).c_str(), outcome.reason.c_str());
  lastSave = {true, outcome.reason, lastSave.saves + 1};
  return outcome;
}

// Lines whose file is gone go.
void Tidy(const fs::path& folder, std::vector<ShelfEntry>& entries) {
  std::error_code ec;
  std::erase_if(entries, [&](const ShelfEntry& e) { return !fs::is_regular_file(folder / PathFromUtf8(e.file), ec); });
}

// The run files no line names: runs are saved and entered under one lock,
// so such a file was left by a keep cut short and only takes room. Files
// of any other name are the player's and stay.
std::vector<fs::path> Unnamed(const fs::path& folder, const std::vector<ShelfEntry>& entries) {
  std::set<std::string> named;
  for (const ShelfEntry& e : entries) named.insert(e.file);
  std::vector<fs::path> unnamed;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string file = Utf8Of(it->path().filename());
    if (std::regex_match(file, kRunFileName) && !named.contains(file) && it->is_regular_file(ec)) {
      unnamed.push_back(it->path());
    }
  }
  return unnamed;
}

}  // namespace

fs::path KeptRunsFolder() {
  const std::string root = UserDataRoot();
  if (root.empty()) return {};
  return PathFromUtf8(root) / "KorvaGames" / "Velloria" / "replays";
}

std::vector<ShelfEntry> ParseShelfIndex(const std::string& text) {
  std::vector<ShelfEntry> entries;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    ShelfEntry entry;
    if (ParseLine(line, entry)) entries.push_back(std::move(entry));
  }
  return entries;
}

std::string FormatShelfIndex(const std::vector<ShelfEntry>& entries) {
  std::string out = kIndexHeader;
  for (const ShelfEntry& e : entries) {
    out += e.file + " " + e.date + " " + StartWord(e.start) + " " + std::to_string(e.potions) + " " +
           std::to_string(e.stage) + "-" + std::to_string(e.level) + " " + std::to_string(e.frames) + " " +
           std::to_string(e.continues) + " " + Flags(e);
    for (const RankEntry& r : e.entered) out += " " + std::to_string(r.score) + "," + EncodeRankName(r.name, true);
    out += "\n";
  }
  return out;
}

std::vector<int> RankedPlaces(const std::vector<ShelfEntry>& entries,
                              const std::array<RankEntry, kRankEntries>& ranking) {
  std::vector<int> places(entries.size(), -1);
  std::vector<std::vector<bool>> used(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) used[i].assign(entries[i].entered.size(), false);
  for (int place = 0; place < kRankEntries; ++place) {
    const RankEntry& line = ranking[static_cast<size_t>(place)];
    bool found = false;
    for (size_t i = 0; i < entries.size() && !found; ++i) {
      for (size_t k = 0; k < entries[i].entered.size() && !found; ++k) {
        if (used[i][k] || !SameLine(entries[i].entered[k], line)) continue;
        used[i][k] = found = true;
        if (places[i] < 0) places[i] = place;
      }
    }
  }
  return places;
}

std::vector<bool> EntriesThatStay(const std::vector<ShelfEntry>& entries, const std::vector<int>& places,
                                  const std::vector<uintmax_t>& sizes) {
  std::vector<bool> stay(entries.size(), false);
  size_t recent = 0;
  uintmax_t bytes = 0;
  // Newest first: the recent ones take the room until either bound is met.
  for (size_t i = entries.size(); i-- > 0;) {
    if (places[i] >= 0 || entries[i].kept) {
      stay[i] = true;
    } else if (recent < kRecentRuns && bytes + sizes[i] <= kFolderBytes) {
      stay[i] = true;
      ++recent;
      bytes += sizes[i];
    } else {
      recent = kRecentRuns;  // an older run never stays where a newer one went
    }
  }
  return stay;
}

FileOutcome KeepRun(const fs::path& folder, const KeptRun& run, const std::array<RankEntry, kRankEntries>& ranking) {
#ifdef _WIN32
  constexpr const char* kNoDataFolder = "LOCALAPPDATA is not set";
#else
  constexpr const char* kNoDataFolder = "neither XDG_DATA_HOME nor HOME is set";
#endif
  if (folder.empty()) return Fail("(none)", {FileOutcome::Status::Failed, kNoDataFolder});
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) return Fail(folder, {FileOutcome::Status::Failed, ec.message()});
  // The run's file is saved and entered under the index's lock, so every
  // run file this game wrote is either named by the index or left by a
  // crash in between: the latter go with the bound.
  std::string saved;
  std::vector<fs::path> dropped;
  FileOutcome file;
  auto merge = [&](std::string_view current, bool) -> std::optional<std::string> {
    const std::string stamp = UtcNow("%Y%m%d-%H%M%S");
    auto name = [&stamp](int n) { return "run-" + stamp + "-" + std::to_string(n) + ".txt"; };
    file = SaveNewPlayerFile(Utf8Of(folder), name, kFirstNumber, kLastNumber, run.text, saved);
    if (!file.Done()) return std::nullopt;
    std::vector<ShelfEntry> entries = ParseShelfIndex(std::string(current));
    const RunSummary& s = run.summary;
    entries.push_back({Utf8Of(PathFromUtf8(saved).filename()), UtcNow("%Y-%m-%dT%H:%M:%SZ"), s.start, s.potions,
                       s.furthestStage, s.furthestLevel, s.frames, s.continuesUsed, s.ended, s.endingSeen, false,
                       s.entered});
    Tidy(folder, entries);
    dropped = Unnamed(folder, entries);
    std::vector<uintmax_t> sizes;
    for (const ShelfEntry& e : entries) sizes.push_back(fs::file_size(folder / PathFromUtf8(e.file), ec));
    std::vector<bool> stay = EntriesThatStay(entries, RankedPlaces(entries, ranking), sizes);
    std::vector<ShelfEntry> kept;
    for (size_t i = 0; i < entries.size(); ++i) {
      if (stay[i]) {
        kept.push_back(entries[i]);
      } else {
        dropped.push_back(folder / PathFromUtf8(entries[i].file));
      }
    }
    return FormatShelfIndex(kept);
  };
  FileOutcome index = UpdatePlayerFile(Utf8Of(folder / kIndexName), merge);
  if (!file.Done()) return Fail(folder, file);
  if (!index.Done()) {
    if (!saved.empty()) fs::remove(PathFromUtf8(saved), ec);
    return Fail(folder, index);
  }
  // Only once the index no longer names them.
  for (const fs::path& path : dropped) fs::remove(path, ec);
  lastSave = {false, "", lastSave.saves + 1};
  return {};
}

const ReplaySaveStatus& LastReplaySave() { return lastSave; }
