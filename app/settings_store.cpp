#include "app/settings_store.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class FileStore : public SettingsStore {
 public:
  ReadResult Read(const std::string& path, std::string& text) override {
    std::error_code ec;
    if (!fs::exists(path, ec)) return ReadResult::Missing;
    std::ifstream in(path, std::ios::binary);
    if (!in) return ReadResult::Failed;
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
    return ReadResult::Read;
  }

  // Written to a temporary file that is renamed over the old one, so a crash
  // or a full disk leaves the previous contents intact.
  bool Write(const std::string& path, const std::string& text) override {
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    if (ec) return false;
    std::string temp = path + ".tmp-" + std::to_string(getpid());
    std::FILE* out = std::fopen(temp.c_str(), "wb");
    if (!out) return false;
    bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    // On disk before the rename, so a crash cannot leave an empty file behind.
    written = written && std::fflush(out) == 0 && fsync(fileno(out)) == 0;
    written = std::fclose(out) == 0 && written;
    if (!written) {
      std::remove(temp.c_str());
      return false;
    }
    // The rename replaces the old file in one step: readers see old or new.
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
      std::remove(temp.c_str());
      return false;
    }
    return true;
  }
};

FileStore fileStore;
SettingsStore* store = &fileStore;

}  // namespace

SettingsStore& GetSettingsStore() { return *store; }
void SetSettingsStore(SettingsStore* s) { store = s ? s : &fileStore; }
