#include "shell/hall_sender.h"

#include <cctype>
#include <cstdio>

namespace {

// The text after "key": in a flat JSON object the hall answers: a number's
// digits, or a string's contents with its escapes read plainly.
std::optional<std::string> Field(const std::string& json, const std::string& key) {
  size_t at = json.find("\"" + key + "\"");
  if (at == std::string::npos) return std::nullopt;
  at = json.find(':', at);
  if (at == std::string::npos) return std::nullopt;
  ++at;
  while (at < json.size() && json[at] == ' ') ++at;
  std::string value;
  if (at < json.size() && json[at] == '"') {
    for (++at; at < json.size() && json[at] != '"'; ++at) {
      if (json[at] == '\\' && at + 1 < json.size()) ++at;
      value += json[at];
    }
    return value;
  }
  while (at < json.size() && std::isdigit(static_cast<unsigned char>(json[at]))) value += json[at++];
  if (value.empty()) return std::nullopt;
  return value;
}

std::string Ordinal(int n) {
  const char* suffix = "TH";
  if (n % 100 < 11 || n % 100 > 13) {
    if (n % 10 == 1) suffix = "ST";
    if (n % 10 == 2) suffix = "ND";
    if (n % 10 == 3) suffix = "RD";
  }
  return std::to_string(n) + suffix;
}

// The game's font has capitals, digits and a few signs.
std::string Shown(const std::string& text) {
  std::string out;
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    if (std::isalnum(u)) {
      out += static_cast<char>(std::toupper(u));
    } else if (c == ' ' || c == '-' || c == '.' || c == ':' || c == ',') {
      out += c;
    } else if (std::isprint(u)) {
      out += ' ';
    }
  }
  return out;
}

}  // namespace

std::string HallNotice(const HallAnswer& answer, size_t width) {
  std::string reason;
  if (answer.status == 200 || answer.status == 201) {
    if (std::optional<std::string> place = Field(answer.body, "place")) {
      return "HALL OF FAME: " + Ordinal(std::stoi(*place)) + " PLACE";
    }
    reason = "no place in the answer";
  } else if (answer.status == 0) {
    reason = answer.error.empty() ? "no answer" : answer.error;
  } else if (std::optional<std::string> error = Field(answer.body, "error")) {
    reason = *error;
  } else if (answer.status == 429 || answer.status == 503) {
    reason = "the hall is busy, try later";
  } else {
    reason = "the hall answered " + std::to_string(answer.status);
  }
  std::string notice = "NOT SENT: " + Shown(reason);
  if (notice.size() > width) notice = notice.substr(0, width - 3) + "...";
  return notice;
}

std::string HallRequestBody(const std::string& name, const std::string& replay) {
  auto quoted = [](const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
      unsigned char u = static_cast<unsigned char>(c);
      if (c == '"' || c == '\\') {
        out += '\\';
        out += c;
      } else if (u < 0x20) {
        char code[8];
        std::snprintf(code, sizeof code, "\\u%04x", u);
        out += code;
      } else {
        out += c;
      }
    }
    return out + "\"";
  };
  return "{\"name\":" + quoted(name) + ",\"replay\":" + quoted(replay) + "}";
}
