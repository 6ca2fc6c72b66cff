#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// Runs the game executable with arguments; returns its exit code and keeps
// what it printed on standard error.
struct RunResult {
  int code = -1;
  std::string errors;
};

// The game keeps its ranking under XDG_CONFIG_HOME: runs get a folder of
// their own (configHome) so tests never touch the user's ranking. env is put
// before the command ("SDL_VIDEODRIVER=dummy"); exe replaces the built game.
inline RunResult RunGame(const std::string& args, const std::string& configHome = "", const std::string& env = "",
                         const std::string& exe = VELLORIA_EXE) {
  std::filesystem::path err = std::filesystem::temp_directory_path() /
                              ("velloria-run-" + std::to_string(::getpid()) + "-" + std::to_string(rand()) + ".err");
  std::string home =
      configHome.empty()
          ? (std::filesystem::temp_directory_path() / ("velloria-config-" + std::to_string(::getpid()))).string()
          : configHome;
  std::string command = env + " XDG_CONFIG_HOME='" + home + "' " + exe + " " + args + " 2>" + err.string();
  int status = std::system(command.c_str());
  RunResult r;
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(err);
  std::stringstream text;
  text << in.rdbuf();
  r.errors = text.str();
  std::filesystem::remove(err);
  return r;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A fresh folder for one test's files.
inline std::filesystem::path TestDir(const std::string& name) {
  auto dir = std::filesystem::temp_directory_path() / ("velloria-test-" + name + "-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

// A --stats file: one map of key to value per frame.
using StatsLine = std::map<std::string, std::string>;
inline std::vector<StatsLine> ReadStats(const std::filesystem::path& path) {
  std::vector<StatsLine> lines;
  std::istringstream text(ReadFile(path));
  for (std::string line; std::getline(text, line);) {
    StatsLine fields;
    std::istringstream words(line);
    for (std::string word; words >> word;) {
      size_t eq = word.find('=');
      if (eq != std::string::npos) fields[word.substr(0, eq)] = word.substr(eq + 1);
    }
    lines.push_back(fields);
  }
  return lines;
}
