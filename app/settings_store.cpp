#include "app/settings_store.h"

namespace {

// Files on disk, written the safe way of every file kept for the player.
class FileStore : public SettingsStore {
 public:
  FileOutcome Read(const std::string& path, std::string& text) override { return ReadPlayerFile(path, text); }
  FileOutcome Write(const std::string& path, const std::string& text) override { return SavePlayerFile(path, text); }
};

FileStore fileStore;
SettingsStore* store = &fileStore;

}  // namespace

SettingsStore& GetSettingsStore() { return *store; }
void SetSettingsStore(SettingsStore* s) { store = s ? s : &fileStore; }
