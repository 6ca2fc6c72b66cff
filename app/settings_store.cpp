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

FileStore fileStore;
SettingsStore* store = &fileStore;

}  // namespace

FileOutcome SettingsStore::Update(const std::string& path, const PlayerFileMerge& merge) {
  std::string text;
  FileOutcome read = Read(path, text);
  if (read.status == FileOutcome::Status::Failed || read.status == FileOutcome::Status::NotRegular) return read;
  std::optional<std::string> merged = merge(text, read.Done());
  return merged ? Write(path, *merged) : FileOutcome{};
}

SettingsStore& GetSettingsStore() { return *store; }
void SetSettingsStore(SettingsStore* s) { store = s ? s : &fileStore; }
