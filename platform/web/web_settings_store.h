#pragma once

#include <string>

#include "app/settings_store.h"

// Settings files kept in the page's localStorage, one key per file holding
// the same text the desktop keeps on disk (the key is the file's path below
// the settings root: "KorvaGames/Velloria/ranking.ini"). Each write replaces
// the key's whole value at once. The bytes are the value's UTF-8, so text
// stored by anything else comes back as it was. A store that fails tells the
// page, which says once that nothing will be kept.
class WebSettingsStore : public SettingsStore {
 public:
  FileOutcome Read(const std::string& path, std::string& text) override;
  FileOutcome Write(const std::string& path, const std::string& text) override;
};

// A store that has nothing and keeps nothing: replayed sessions play with
// the default ranking whatever the browser holds, as headless runs do. What
// it is given it drops on purpose, so a save is no failure to report.
class NoSettingsStore : public SettingsStore {
 public:
  FileOutcome Read(const std::string&, std::string&) override { return {FileOutcome::Status::Missing, ""}; }
  FileOutcome Write(const std::string&, const std::string&) override { return {}; }
};
