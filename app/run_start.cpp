#include "app/run_start.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "base/math_util.h"
#include "input/key_names.h"
#include "scenes/title.h"

namespace {

constexpr int kLastStage = 4;
constexpr int kLevelsPerStage = 16;
constexpr int kMostPotions = 9999;
constexpr size_t kNameBytes = sizeof(RankEntry::name) - 1;
constexpr const char* kHexDigits = "0123456789ABCDEF";

template <typename T>
bool ParseNumber(std::string_view word, T& out) {
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, out);
  return ec == std::errc() && ptr == end;
}

}  // namespace

std::string EncodeRankName(const char* name, bool everySpace) {
  std::string out;
  size_t length = std::strlen(name);
  for (size_t i = 0; i < length; ++i) {
    auto c = static_cast<unsigned char>(name[i]);
    bool edgeSpace = c == ' ' && (everySpace || i == 0 || i + 1 == length);
    if (c < ' ' || c >= 0x7F || c == '#' || c == '%' || edgeSpace) {
      out += '%';
      out += kHexDigits[c >> 4];
      out += kHexDigits[c & 0xF];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

bool DecodeRankName(std::string_view text, std::string& name) {
  name.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      name += text[i];
      continue;
    }
    unsigned value = 0;
    if (i + 2 >= text.size()) return false;
    auto [ptr, ec] = std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
    if (ec != std::errc() || ptr != text.data() + i + 3) return false;
    name += static_cast<char>(value);
    i += 2;
  }
  return name.size() <= kNameBytes && name.find('\0') == std::string::npos;
}

namespace {

std::string KeyList(const std::vector<int>& codes) {
  std::string out;
  for (int code : codes) {
    std::string_view name = KeyNameFromCode(code);
    if (!name.empty()) out += " " + std::string(name);
  }
  return out;
}

std::string PadText(const JoystickReading& pad) {
  return std::to_string(pad.x) + " " + std::to_string(pad.y) + " " + std::to_string(pad.buttons);
}

bool ParseKeys(const std::vector<std::string>& words, std::vector<int>& codes) {
  codes.clear();
  for (size_t i = 2; i < words.size(); ++i) {
    auto code = KeyCodeFromName(words[i]);
    if (!code) return false;
    codes.push_back(*code);
  }
  return true;
}

bool ParsePad(const std::vector<std::string>& words, JoystickReading& pad) {
  pad.present = true;
  return words.size() == 5 && ParseNumber(words[2], pad.x) && ParseNumber(words[3], pad.y) &&
         ParseNumber(words[4], pad.buttons) && pad.x >= -32768 && pad.x <= 32767 && pad.y >= -32768 && pad.y <= 32767;
}

bool ParseInputLine(const std::vector<std::string>& w, InputCarry& carry) {
  if (w.size() < 2) return false;
  if (w[1] == "down") return ParseKeys(w, carry.down);
  if (w[1] == "read") return ParseKeys(w, carry.read);
  if (w[1] == "pad") return ParsePad(w, carry.pad);
  if (w[1] == "pad-read") return ParsePad(w, carry.padRead);
  if (w[1] != "held" || w.size() != 2 + carry.fireHeld.size()) return false;
  for (size_t i = 0; i < carry.fireHeld.size(); ++i) {
    if (!ParseNumber(w[2 + i], carry.fireHeld[i]) || carry.fireHeld[i] < 0) return false;
  }
  return true;
}

bool ParseRunLine(const std::vector<std::string>& w, StartPoint& point) {
  if (w.size() != 3) return false;
  if (w[1] == "episode") {
    int episode = 0;
    if (!ParseNumber(w[2], episode)) return false;
    std::optional<EpisodeGame> game = GameOfEpisode(episode);
    if (!game) return false;
    point = {StartKind::Episode, episode, game->stage, game->level, game->potions};
    return true;
  }
  if (w[1] != "start" && w[1] != "practice") return false;
  point.kind = w[1] == "start" ? StartKind::Start : StartKind::Practice;
  point.episode = 0;
  return ParseStageLevel(w[2], point.stage, point.level, point.potions);
}

bool ParseRankLine(const std::vector<std::string>& w, const std::string& text, RunStart& start) {
  int place = 0;
  if (w.size() < 3 || !ParseNumber(w[1], place) || place < 0 || place >= kRankEntries) return false;
  // The value is the rest of the line after two words: a name may hold
  // inner spaces.
  std::string_view value(text);
  for (int word = 0; word < 2; ++word) {
    value.remove_prefix(std::min(value.size(), value.find_first_not_of(" \t")));
    value.remove_prefix(std::min(value.size(), value.find_first_of(" \t")));
  }
  value.remove_prefix(std::min(value.size(), value.find_first_not_of(" \t")));
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r')) {
    value.remove_suffix(1);
  }
  size_t comma = value.find(',');
  RankEntry entry;
  std::string name;
  if (comma == std::string_view::npos || !ParseNumber(value.substr(0, comma), entry.score) ||
      !DecodeRankName(value.substr(comma + 1), name)) {
    return false;
  }
  std::memcpy(entry.name, name.data(), name.size());
  start.ranking[static_cast<size_t>(place)] = entry;
  return true;
}

}  // namespace

std::string FormatStageLevel(int stage, int level, int potions) {
  return std::to_string(stage) + "-" + std::to_string(level) + ":" + std::to_string(potions);
}

bool ParseStageLevel(const std::string& text, int& stage, int& level, int& potions) {
  std::string_view v(text);
  size_t dash = v.find('-');
  if (dash == std::string_view::npos) return false;
  size_t colon = v.find(':', dash);
  std::string_view levelText = v.substr(dash + 1, colon == std::string_view::npos ? v.npos : colon - dash - 1);
  int s = 0;
  int l = 0;
  int p = 0;
  if (!ParseNumber(v.substr(0, dash), s) || !ParseNumber(levelText, l)) return false;
  if (colon != std::string_view::npos && !ParseNumber(v.substr(colon + 1), p)) return false;
  if (s < 1 || s > kLastStage || l < 1 || l > kLevelsPerStage || p < 0 || p > kMostPotions) return false;
  stage = s;
  level = l;
  potions = p;
  return true;
}

RunStart CaptureRunStart(const StartPoint& point) {
  RunStart start;
  start.point = point;
  start.random = RandomState();
  for (int i = 0; i < kRankEntries; ++i) start.ranking[static_cast<size_t>(i)] = GetRankEntry(i);
  start.input = CaptureInputCarry();
  start.fast = GetAppBlock().frameInterval == kFastFrameInterval;
  return start;
}

void ApplyRunStart(const RunStart& start) {
  AppBlock& app = GetAppBlock();
  app.startStage = start.point.stage;
  app.startLevel = start.point.level;
  app.potionsCarried = start.point.potions;
  app.sceneState = scene_state::kGameStart;
  app.frameInterval = start.fast ? kFastFrameInterval : kNormalFrameInterval;
  if (start.random) SeedRandom(*start.random);
  for (int i = 0; i < kRankEntries; ++i) {
    if (const auto& entry = start.ranking[static_cast<size_t>(i)]) GetRankEntry(i) = *entry;
  }
  RestoreInputCarry(start.input);
}

std::string FormatRunStart(const RunStart& start) {
  const StartPoint& p = start.point;
  std::string out = "run ";
  if (p.kind == StartKind::Episode) {
    out += "episode " + std::to_string(p.episode);
  } else {
    out += (p.kind == StartKind::Start ? "start " : "practice ") + FormatStageLevel(p.stage, p.level, p.potions);
  }
  out += "\n";
  if (start.random) out += "random " + std::to_string(*start.random) + "\n";
  for (size_t i = 0; i < start.ranking.size(); ++i) {
    if (const auto& e = start.ranking[i]) {
      out += "rank " + std::to_string(i) + " " + std::to_string(e->score) + "," + EncodeRankName(e->name) + "\n";
    }
  }
  const InputCarry& in = start.input;
  if (!in.down.empty()) out += "input down" + KeyList(in.down) + "\n";
  if (!in.read.empty()) out += "input read" + KeyList(in.read) + "\n";
  if (in.fireHeld != InputCarry{}.fireHeld) {
    out += "input held";
    for (int n : in.fireHeld) out += " " + std::to_string(n);
    out += "\n";
  }
  if (in.pad.present) out += "input pad " + PadText(in.pad) + "\n";
  if (in.padRead.present) out += "input pad-read " + PadText(in.padRead) + "\n";
  if (start.fast) out += "fast on\n";
  return out;
}

bool IsRunStartLine(const std::string& firstWord) {
  return firstWord == "run" || firstWord == "random" || firstWord == "rank" || firstWord == "input" ||
         firstWord == "fast";
}

bool ParseRunStartLine(const std::vector<std::string>& w, const std::string& text, RunStart& start, std::string& why) {
  bool ok = false;
  if (w[0] == "run") {
    ok = ParseRunLine(w, start.point);
    why = "expected \"run episode N\", \"run start S-L:P\" or \"run practice S-L:P\"";
  } else if (w[0] == "random") {
    uint32_t state = 0;
    ok = w.size() == 2 && ParseNumber(w[1], state);
    if (ok) start.random = state;
    why = "expected \"random N\"";
  } else if (w[0] == "rank") {
    ok = ParseRankLine(w, text, start);
    why = "expected \"rank PLACE SCORE,NAME\" with PLACE 0 to 7 and a name of at most 15 bytes";
  } else if (w[0] == "input") {
    ok = ParseInputLine(w, start.input);
    why = "expected \"input down|read KEYS\", \"input held N N N N\" or \"input pad|pad-read X Y BUTTONS\"";
  } else if (w[0] == "fast") {
    ok = w.size() == 2 && (w[1] == "on" || w[1] == "off");
    start.fast = ok && w[1] == "on";
    why = "expected \"fast on\" or \"fast off\"";
  }
  return ok;
}
