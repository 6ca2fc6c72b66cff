#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

// One line of a --stats file: the frame, the scene state and the game's
// figures (-1 where the line shows "-").
struct StatsLine {
  int frame = -1;
  std::map<std::string, int> values;

  int Get(const std::string& key) const {
    auto it = values.find(key);
    return it == values.end() ? -1 : it->second;
  }
};

inline std::map<int, StatsLine> ReadStats(const std::filesystem::path& path) {
  std::map<int, StatsLine> lines;
  std::ifstream in(path);
  std::string text;
  while (std::getline(in, text)) {
    StatsLine line;
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
      size_t eq = word.find('=');
      if (eq == std::string::npos) continue;
      std::string value = word.substr(eq + 1);
      int number = value == "-" ? -1 : std::atoi(value.c_str());
      if (word.compare(0, eq, "frame") == 0) line.frame = number;
      line.values[word.substr(0, eq)] = number;
    }
    if (line.frame >= 0) lines[line.frame] = line;
  }
  return lines;
}

// The first frame at or after `from` whose line has key == value, or -1.
inline int FirstFrameWith(const std::map<int, StatsLine>& lines, const std::string& key, int value, int from = 0) {
  for (auto it = lines.lower_bound(from); it != lines.end(); ++it) {
    if (it->second.Get(key) == value) return it->first;
  }
  return -1;
}
