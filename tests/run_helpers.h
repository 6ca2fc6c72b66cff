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

#include "app/host.h"
#include "base/frame_clock.h"

// A host without a window for sessions driven by a test: its clock is the
// run's frames (40 ms each), and the test gives the events.
class FrameClockHost : public Host {
 public:
  void WaitEvent(int) override {}
  uint32_t NowMs() override { return static_cast<uint32_t>(CurrentFrame() * 40); }
  void ShowCursor(bool) override {}
  void HideWindow() override {}
  void ShowMessage(const char*, const char*) override {}
};

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A recording's header and events, without the lines that name the game
// that made it and check its state on the way.
inline std::string RecordedEvents(const std::filesystem::path& path) {
  std::istringstream in(ReadFile(path));
  std::string kept;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("version ", 0) != 0 && line.rfind("check ", 0) != 0) kept += line + "\n";
  }
  return kept;
}

// A fresh folder of one test's own under the temporary folder, removed with
// everything in it when the guard goes, whether the test passed or failed.
// Folders a test made read-only are opened up first, so that a user who is
// not root can remove them too.
class TestDir {
 public:
  explicit TestDir(const std::string& name) {
    std::string pattern = (std::filesystem::temp_directory_path() / ("velloria-test-" + name + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) {
      std::perror(pattern.c_str());
      std::abort();
    }
    path_ = pattern;
  }
  ~TestDir() {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    for (fs::recursive_directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec)) {
      if (it->is_directory(ec) && !it->is_symlink(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(path_, ec);
  }
  TestDir(const TestDir&) = delete;
  TestDir& operator=(const TestDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  operator const std::filesystem::path&() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& more) const { return path_ / more; }
  std::string string() const { return path_.string(); }
  const char* c_str() const { return path_.c_str(); }

 private:
  std::filesystem::path path_;
};

// Runs the game executable with arguments; returns its exit code and keeps
// what it printed on standard error.
struct RunResult {
  int code = -1;
  std::string errors;
};

// The game keeps its ranking under XDG_CONFIG_HOME and its kept runs under
// XDG_DATA_HOME: runs get a folder of their own for both (configHome, else
// one removed after the run) so tests never touch the user's files. env is put before the command
// ("SDL_VIDEODRIVER=dummy"); exe replaces the built game.
inline RunResult RunGame(const std::string& args, const std::string& configHome = "", const std::string& env = "",
                         const std::string& exe = VELLORIA_EXE) {
  TestDir run("run");
  std::string home = configHome.empty() ? (run / "config").string() : configHome;
  std::string command = env + " XDG_CONFIG_HOME='" + home + "' XDG_DATA_HOME='" + home + "' " + exe + " " + args +
                        " 2>'" + (run / "stderr").string() + "'";
  int status = std::system(command.c_str());
  RunResult r;
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.errors = ReadFile(run / "stderr");
  return r;
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
