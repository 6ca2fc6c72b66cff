#pragma once

#include <string>

#include "shell/settings.h"

class SettingsStore;

// Where the player's settings are kept between runs: settings.ini beside
// the ranking in the settings folder (in a browser, the same text under its
// own key of the page's storage), through the same safe store. Reading
// writes nothing; a save replaces the whole file at once and keeps the
// lines this version does not know.
class SettingsFile {
 public:
  // path empty: nothing is read or saved (headless runs, so that a replay
  // never depends on a machine's settings). store: where the text is kept,
  // when not in the store in use for the ranking (a page watching a replay
  // keeps no ranking, yet plays with the player's volumes).
  explicit SettingsFile(std::string path, SettingsStore* store = nullptr) : path_(std::move(path)), store_(store) {}
  // <settings root>/KorvaGames/Velloria/settings.ini; empty without a root.
  static std::string DefaultPath();

  // The defaults, then what the file holds; each bad line is named on
  // standard error, once.
  Settings Load();
  // Keeps what changed since the last Load or Save, entered into the file
  // as it is then (so what another copy kept meanwhile stays). False when
  // the settings could not be kept; the reason went to standard error (a
  // path that is no regular file is named once a run).
  bool Save(const Settings& settings);
  const std::string& Path() const { return path_; }

 private:
  SettingsStore& Store() const;

  std::string path_;
  SettingsStore* store_;
  std::string text_;  // as last read or written
  Settings base_;     // as last read or saved
  bool notRegular_ = false;
};
