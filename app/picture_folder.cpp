#include "app/picture_folder.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool IsFolder(const fs::path& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

// The value of XDG_PICTURES_DIR in a user-dirs.dirs file: a line
// XDG_PICTURES_DIR="$HOME/Pictures" (or an absolute path), as the desktop
// writes it. Empty when the file or the line is missing.
fs::path FromUserDirs(const fs::path& file, const std::string& home) {
  std::ifstream in(file);
  const std::string key = "XDG_PICTURES_DIR=";
  for (std::string line; std::getline(in, line);) {
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
    std::string value = line.substr(start + key.size());
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r')) value.pop_back();
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    for (const char* name : {"$HOME", "${HOME}"}) {
      if (value.rfind(name, 0) == 0) {
        if (home.empty()) return {};
        value = home + value.substr(std::char_traits<char>::length(name));
        break;
      }
    }
    if (!value.empty() && value.front() == '/') return value;
  }
  return {};
}

}  // namespace

fs::path PicturesFolder() {
  std::string home = Env("HOME");
  fs::path named = Env("XDG_PICTURES_DIR");
  if (IsFolder(named)) return named;
  std::string config = Env("XDG_CONFIG_HOME");
  if (config.empty() && !home.empty()) config = home + "/.config";
  if (!config.empty()) {
    fs::path listed = FromUserDirs(fs::path(config) / "user-dirs.dirs", home);
    if (IsFolder(listed)) return listed;
  }
  // Never the current folder: started from a source tree, a picture there
  // would travel with the next package.
  if (home.empty()) return {};
  return fs::path(home) / "Pictures";
}

fs::path DocumentsFolder() {
  if (const char* docs = std::getenv("XDG_DOCUMENTS_DIR"); docs && *docs == '/') return docs;
  if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home) / "Documents";
  return {};
}
