#include "app/settings_store.h"

namespace {

// Files on disk, written the safe way of every file kept for the player.
class FileStore : public SettingsStore {
 public:
  FileOutcome Read(const std::string& path, std::string& text) override { return ReadPlayerFile(path, text); }
  FileOutcome Write(const std::string& path, const std::string& text) override { return SavePlayerFile(path, text); }
  FileOutcome Update(const std::string& path, const PlayerFileMerge& merge) override {
    return UpdatePlayerFile(path, merge);
  }
};

}  // namespace

SettingsStore& SystemSettingsStore() {
  static FileStore files;
  return files;
}
