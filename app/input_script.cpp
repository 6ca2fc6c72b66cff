#include "app/input_script.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "input/key_names.h"

namespace {

template <typename T>
bool ParseNumber(const std::string& word, T& out) {
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, out);
  return ec == std::errc() && ptr == end;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::string Joined(const std::vector<std::string>& words, size_t from) {
  std::string out;
  for (size_t i = from; i < words.size(); ++i) out += (i > from ? " " : "") + words[i];
  return out;
}

bool ParseDigest(const std::string& word, uint32_t& digest) {
  constexpr size_t kDigits = 8;
  if (word.size() != kDigits) return false;
  auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), digest, 16);
  return ec == std::errc() && ptr == word.data() + word.size();
}

bool ParseEvent(const std::vector<std::string>& w, ScriptedEvent& ev) {
  if (!ParseNumber(w[0], ev.frame) || ev.frame < 0) return false;
  if (w.size() == 2) {
    const std::string& what = w[1];
    if (what == "focus-") {
      ev.kind = ScriptedEvent::Kind::FocusLost;
      return true;
    }
    if (what == "focus+") {
      ev.kind = ScriptedEvent::Kind::FocusGained;
      return true;
    }
    if (what.size() < 2 || (what[0] != '+' && what[0] != '-')) return false;
    auto code = KeyCodeFromName(std::string_view(what).substr(1));
    if (!code) return false;
    ev.kind = what[0] == '+' ? ScriptedEvent::Kind::KeyDown : ScriptedEvent::Kind::KeyUp;
    ev.key = *code;
    return true;
  }
  if (w[1] != "joy") return false;
  if (w.size() == 3 && w[2] == "none") {
    ev.kind = ScriptedEvent::Kind::JoystickNone;
    return true;
  }
  if (w.size() != 5) return false;
  ev.kind = ScriptedEvent::Kind::Joystick;
  return ParseNumber(w[2], ev.joyX) && ParseNumber(w[3], ev.joyY) && ParseNumber(w[4], ev.joyButtons) &&
         ev.joyX >= -32768 && ev.joyX <= 32767 && ev.joyY >= -32768 && ev.joyY <= 32767;
}

}  // namespace

std::optional<InputScript> ParseInputScript(const std::string& text, std::string& error) {
  InputScript script;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::vector<std::string> w = Words(line);
    if (w.empty()) continue;
    auto fail = [&](const char* why) {
      error = "input file line " + std::to_string(number) + ": " + why + ": \"" + line + "\"";
      return std::nullopt;
    };
    if (w[0] == "seed") {
      uint32_t seed = 0;
      if (w.size() != 2 || !ParseNumber(w[1], seed)) return fail("expected \"seed N\"");
      script.seed = seed;
      continue;
    }
    if (w[0] == "version") {
      if (w.size() < 2) return fail("expected \"version NAME...\"");
      if (!script.events.empty()) return fail("version belongs before the first event");
      script.version = Joined(w, 1);
      continue;
    }
    if (w[0] == "check") {
      StateCheck check;
      if (w.size() != 3 || !ParseNumber(w[1], check.frame) || check.frame < 0 || !ParseDigest(w[2], check.digest)) {
        return fail("expected \"check FRAME DIGEST\" (eight hex digits)");
      }
      if (!script.checks.empty() && check.frame <= script.checks.back().frame) return fail("checks must go forward");
      script.checks.push_back(check);
      continue;
    }
    if (w[0] == "end") {
      int64_t end = 0;
      if (w.size() != 2 || !ParseNumber(w[1], end) || end < 0) return fail("expected \"end FRAME\"");
      if (script.end) return fail("one end a file");
      script.end = end;
      continue;
    }
    if (IsRunStartLine(w[0])) {
      if (!script.events.empty()) return fail("a run's header belongs before the first event");
      if (w[0] != "run" && !script.run) return fail("a run's header begins with its \"run\" line");
      if (w[0] == "run" && script.run) return fail("one run a file");
      if (!script.run) script.run.emplace();
      std::string why;
      if (!ParseRunStartLine(w, line, *script.run, why)) return fail(why.c_str());
      continue;
    }
    if (w[0] == "hold-to-fire") {
      if (w.size() != 2 || (w[1] != "on" && w[1] != "off")) return fail("expected \"hold-to-fire on\" or \"off\"");
      if (!script.events.empty()) return fail("hold-to-fire belongs before the first event");
      script.holdToFire = w[1] == "on";
      continue;
    }
    ScriptedEvent ev;
    if (w.size() < 2 || !ParseEvent(w, ev)) {
      return fail(
          "expected \"FRAME +KEY\", \"FRAME -KEY\", \"FRAME focus-\", \"FRAME focus+\" or \"FRAME joy X Y BUTTONS\"");
    }
    script.events.push_back(ev);
  }
  // A line moved by hand plays at its frame; one frame's events keep the
  // file's order.
  std::stable_sort(script.events.begin(), script.events.end(),
                   [](const ScriptedEvent& a, const ScriptedEvent& b) { return a.frame < b.frame; });
  return script;
}

std::optional<InputScript> LoadInputScript(const std::string& path, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot read input file " + path;
    return std::nullopt;
  }
  std::ostringstream text;
  text << file.rdbuf();
  return ParseInputScript(text.str(), error);
}

std::string FormatScriptedEvent(const ScriptedEvent& event) {
  std::string frame = std::to_string(event.frame);
  switch (event.kind) {
    case ScriptedEvent::Kind::KeyDown:
      return frame + " +" + std::string(KeyNameFromCode(event.key));
    case ScriptedEvent::Kind::KeyUp:
      return frame + " -" + std::string(KeyNameFromCode(event.key));
    case ScriptedEvent::Kind::FocusLost:
      return frame + " focus-";
    case ScriptedEvent::Kind::FocusGained:
      return frame + " focus+";
    case ScriptedEvent::Kind::Joystick:
      return frame + " joy " + std::to_string(event.joyX) + " " + std::to_string(event.joyY) + " " +
             std::to_string(event.joyButtons);
    case ScriptedEvent::Kind::JoystickNone:
      return frame + " joy none";
  }
  return frame;
}

std::string FormatStateCheck(const StateCheck& check) {
  char digest[12];
  std::snprintf(digest, sizeof digest, "%08x", check.digest);
  return "check " + std::to_string(check.frame) + " " + digest;
}

std::string FormatInputScript(const InputScript& script) {
  std::string out;
  if (!script.version.empty()) out += "version " + script.version + "\n";
  if (script.run) out += FormatRunStart(*script.run);
  if (script.seed) out += "seed " + std::to_string(*script.seed) + "\n";
  if (script.holdToFire) out += "hold-to-fire on\n";
  size_t next = 0;
  for (const StateCheck& check : script.checks) {
    for (; next < script.events.size() && script.events[next].frame <= check.frame; ++next) {
      out += FormatScriptedEvent(script.events[next]) + "\n";
    }
    out += FormatStateCheck(check) + "\n";
  }
  for (; next < script.events.size(); ++next) out += FormatScriptedEvent(script.events[next]) + "\n";
  if (script.end) out += "end " + std::to_string(*script.end) + "\n";
  return out;
}
