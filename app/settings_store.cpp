#include "app/settings_store.h"

namespace {

SettingsStore* store = nullptr;

}  // namespace

FileOutcome SettingsStore::Update(const std::string& path, const PlayerFileMerge& merge) {
  std::string text;
  FileOutcome read = Read(path, text);
  if (read.status == FileOutcome::Status::Failed || read.status == FileOutcome::Status::NotRegular) return read;
  std::optional<std::string> merged = merge(text, read.Done());
  return merged ? Write(path, *merged) : FileOutcome{};
}

SettingsStore& GetSettingsStore() { return store ? *store : SystemSettingsStore(); }
void SetSettingsStore(SettingsStore* s) { store = s; }
