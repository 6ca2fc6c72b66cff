#include "shell/settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <functional>
#include <sstream>

#include "base/printable.h"
#include "input/key_names.h"
#include "shell/name_letters.h"

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

bool ParseInt(std::string_view word, int& out) {
  word = Trim(word);
  auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), out);
  return ec == std::errc() && ptr == word.data() + word.size();
}

std::vector<std::string_view> Split(std::string_view list) {
  std::vector<std::string_view> items;
  while (true) {
    size_t comma = list.find(',');
    items.push_back(Trim(list.substr(0, comma)));
    if (comma == std::string_view::npos) return items;
    list.remove_prefix(comma + 1);
  }
}

bool ParseKeys(std::string_view value, std::vector<int>& out) {
  std::vector<int> keys;
  for (std::string_view item : Split(value)) {
    std::string name(item);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
    std::optional<int> code = KeyCodeFromName(name);
    if (!code || IsReservedKey(*code)) return false;
    if (std::find(keys.begin(), keys.end(), *code) == keys.end()) keys.push_back(*code);
  }
  out = keys;
  return true;
}

std::string FormatKeys(const std::vector<int>& keys) {
  std::string text;
  for (int code : keys) text += (text.empty() ? "" : ",") + std::string(KeyNameFromCode(code));
  return text;
}

bool ParseButtons(std::string_view value, std::vector<int>& out) {
  std::vector<int> buttons;
  if (!Trim(value).empty()) {
    for (std::string_view item : Split(value)) {
      int b = 0;
      if (!ParseInt(item, b) || b < 0 || b >= pad_button::kCount) return false;
      if (std::find(buttons.begin(), buttons.end(), b) == buttons.end()) buttons.push_back(b);
    }
  }
  out = buttons;
  return true;
}

std::string FormatButtons(const std::vector<int>& buttons) {
  std::string text;
  for (int b : buttons) text += (text.empty() ? "" : ",") + std::to_string(b);
  return text;
}

bool ParseChoice(std::string_view value, const char* off, const char* on, bool& out) {
  if (value != off && value != on) return false;
  out = value == on;
  return true;
}

bool ParseVolume(std::string_view value, int& out) {
  int v = 0;
  if (!ParseInt(value, v) || v < 0 || v > kMaxVolume) return false;
  out = v;
  return true;
}

// One setting: its key, how its value reads and is written (nothing: the
// line is left out), and what a bad value should have been.
struct Field {
  std::string key;
  std::function<bool(Settings&, std::string_view)> parse;
  std::function<std::optional<std::string>(const Settings&)> format;
  std::string expected;
};

bool ParseReached(Settings& s, std::string_view v) {
  constexpr int kMostStages = 16;
  constexpr int kMostLevels = 99;
  std::vector<int> reached;
  for (std::string_view item : Split(v)) {
    size_t dash = item.find('-');
    int stage = 0;
    int level = 0;
    if (dash == std::string_view::npos || !ParseInt(item.substr(0, dash), stage) ||
        !ParseInt(item.substr(dash + 1), level) || stage < 1 || stage > kMostStages || level < 1 ||
        level > kMostLevels) {
      return false;
    }
    if (reached.size() < static_cast<size_t>(stage)) reached.resize(static_cast<size_t>(stage));
    reached[static_cast<size_t>(stage - 1)] = std::max(reached[static_cast<size_t>(stage - 1)], level);
  }
  s.reached = reached;
  return true;
}

std::optional<std::string> FormatReached(const Settings& s) {
  std::string text;
  for (size_t i = 0; i < s.reached.size(); ++i) {
    if (s.reached[i] > 0)
      text += (text.empty() ? "" : ",") + std::to_string(i + 1) + "-" + std::to_string(s.reached[i]);
  }
  if (text.empty()) return std::nullopt;
  return text;
}

std::vector<Field> MakeFields() {
  std::vector<Field> fields = {
      {"display", [](Settings& s, std::string_view v) { return ParseChoice(v, "window", "fullscreen", s.fullScreen); },
       [](const Settings& s) { return std::string(s.fullScreen ? "fullscreen" : "window"); }, "fullscreen or window"},
      {"window",
       [](Settings& s, std::string_view v) {
         size_t x = v.find('x');
         WindowSize w;
         if (x == std::string_view::npos || !ParseInt(v.substr(0, x), w.width) ||
             !ParseInt(v.substr(x + 1), w.height) || w.width < kSmallestWindow.width ||
             w.height < kSmallestWindow.height || w.width > kLargestWindowSide || w.height > kLargestWindowSide) {
           return false;
         }
         s.window = w;
         return true;
       },
       [](const Settings& s) -> std::optional<std::string> {
         if (!s.window) return std::nullopt;
         return std::to_string(s.window->width) + "x" + std::to_string(s.window->height);
       },
       "WIDTHxHEIGHT, at least 640x480"},
      {"fit",
       [](Settings& s, std::string_view v) {
         bool fill = false;
         if (Trim(v) == "auto") {
           s.fit = Fit::Auto;
         } else if (ParseChoice(v, "whole", "fill", fill)) {
           s.fit = fill ? Fit::Fill : Fit::Whole;
         } else {
           return false;
         }
         return true;
       },
       // Left to the screen, the file holds no line: a later default may differ.
       [](const Settings& s) -> std::optional<std::string> {
         if (s.fit == Fit::Auto) return std::nullopt;
         return std::string(s.fit == Fit::Fill ? "fill" : "whole");
       },
       "whole, fill or auto"},
      {"music-volume", [](Settings& s, std::string_view v) { return ParseVolume(v, s.musicVolume); },
       [](const Settings& s) { return std::to_string(s.musicVolume); }, "0 to 100"},
      {"sound-volume", [](Settings& s, std::string_view v) { return ParseVolume(v, s.soundVolume); },
       [](const Settings& s) { return std::to_string(s.soundVolume); }, "0 to 100"},
      {"mute", [](Settings& s, std::string_view v) { return ParseChoice(v, "off", "on", s.mute); },
       [](const Settings& s) { return std::string(s.mute ? "on" : "off"); }, "off or on"},
      {"hold-to-fire", [](Settings& s, std::string_view v) { return ParseChoice(v, "off", "on", s.holdToFire); },
       [](const Settings& s) { return std::string(s.holdToFire ? "on" : "off"); }, "off or on"},
      {"remember-name", [](Settings& s, std::string_view v) { return ParseChoice(v, "off", "on", s.rememberName); },
       [](const Settings& s) { return std::string(s.rememberName ? "on" : "off"); }, "off or on"},
      {"name",
       [](Settings& s, std::string_view v) {
         if (!IsName(v)) return false;
         s.name = v;
         return true;
       },
       [](const Settings& s) { return s.name; }, "letters, digits, spaces, - and ., 15 at most"},
      {"confirm-quit", [](Settings& s, std::string_view v) { return ParseChoice(v, "off", "on", s.confirmQuit); },
       [](const Settings& s) { return std::string(s.confirmQuit ? "on" : "off"); }, "off or on"},
      {"reached", ParseReached, FormatReached, "STAGE-LEVEL pairs separated by commas"},
      {"hall-of-fame",
       [](Settings& s, std::string_view v) {
         if (!v.empty() && !v.starts_with("http://") && !v.starts_with("https://")) return false;
         s.hallOfFame = std::string(v);
         return true;
       },
       [](const Settings& s) { return s.hallOfFame; }, "empty or an http:// or https:// address"},
  };
  for (Action a : kActions) {
    fields.push_back({"key-" + std::string(ActionName(a)),
                      [a](Settings& s, std::string_view v) { return ParseKeys(v, s.bindings.Keys(a)); },
                      [a](const Settings& s) { return FormatKeys(s.bindings.Keys(a)); },
                      "key names separated by commas (not ESCAPE, F1 or F12)"});
  }
  using PadList = std::vector<int> Bindings::*;
  for (const auto& [key, member] : {std::pair<const char*, PadList>{"pad-fire", &Bindings::padFire},
                                    {"pad-confirm", &Bindings::padConfirm},
                                    {"pad-pause", &Bindings::padPause},
                                    {"pad-fast", &Bindings::padFast}}) {
    PadList list = member;  // a lambda takes a variable, not a binding
    fields.push_back({key, [list](Settings& s, std::string_view v) { return ParseButtons(v, s.bindings.*list); },
                      [list](const Settings& s) { return FormatButtons(s.bindings.*list); },
                      "button numbers 0 to 15 separated by commas"});
  }
  return fields;
}

const std::vector<Field>& Fields() {
  static const std::vector<Field> fields = MakeFields();
  return fields;
}

const Field* FieldFor(std::string_view key) {
  for (const Field& f : Fields()) {
    if (key == f.key) return &f;
  }
  return nullptr;
}

// A line's key and value; false for a line that is no setting.
bool SplitLine(std::string_view line, std::string_view& key, std::string_view& value) {
  line = Trim(line);
  size_t eq = line.find('=');
  if (line.empty() || line.front() == '#' || line.front() == ';' || eq == std::string_view::npos) return false;
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return true;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

bool IsSettingKey(std::string_view key) { return FieldFor(key) != nullptr; }

Settings ParseSettings(const std::string& text, std::vector<std::string>& complaints) {
  Settings settings;
  int number = 0;
  for (const std::string& line : Lines(text)) {
    ++number;
    std::string_view key;
    std::string_view value;
    if (!SplitLine(line, key, value)) continue;
    const Field* field = FieldFor(key);
    if (!field) continue;
    // A bad value leaves the setting as it was: the default, or an earlier
    // line's good value.
    Settings tried = settings;
    if (field->parse(tried, value)) {
      settings = tried;
    } else {
      complaints.push_back("line " + std::to_string(number) + ": " + Printable(Trim(line)) + ": expected " +
                           field->expected);
    }
  }
  return settings;
}

std::string FormatSettings(const Settings& settings, const std::string& old) {
  std::string text;
  std::vector<const Field*> written;
  for (const std::string& line : Lines(old)) {
    std::string_view key;
    std::string_view value;
    const Field* field = SplitLine(line, key, value) ? FieldFor(key) : nullptr;
    if (!field) {
      text += line + "\n";
      continue;
    }
    std::optional<std::string> now = field->format(settings);
    if (now) text += field->key + "=" + *now + "\n";
    written.push_back(field);
  }
  for (const Field& field : Fields()) {
    if (std::find(written.begin(), written.end(), &field) != written.end()) continue;
    if (std::optional<std::string> now = field.format(settings)) text += field.key + "=" + *now + "\n";
  }
  return text;
}

void CopyChanges(const Settings& before, const Settings& after, Settings& into) {
  for (const Field& field : Fields()) {
    std::optional<std::string> now = field.format(after);
    if (now && now != field.format(before)) field.parse(into, *now);
  }
  // A fit left to the screen again has no line to copy.
  if (after.fit != before.fit) into.fit = after.fit;
}
