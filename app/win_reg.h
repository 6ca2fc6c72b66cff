#pragma once

#include <string>
#include <vector>

#include "app/player_file.h"
#include "base/nstring.h"

// A per-user key of string values, kept where a desktop keeps settings:
// the key path "Software\KorvaGames\Velloria" under the user's root becomes
// the file <root>/KorvaGames/Velloria/ranking.ini with the section
// [Software\KorvaGames\Velloria] and lines "Name=text". Lines the program
// does not know are kept. Opening a key, even creating one, writes nothing:
// changes are written when the key is closed, the whole text at once
// through the SettingsStore (on disk: the safe save of app/player_file.h).
class NWinReg {
 public:
  NWinReg() = default;
  virtual ~NWinReg();
  NWinReg(const NWinReg&) = delete;
  NWinReg& operator=(const NWinReg&) = delete;

  // Opens the key, creating it when missing (on disk with the first value
  // written, its folder too).
  bool CreateKey(const std::string& root, const std::string& path);
  // Opens an existing key; fails when it does not exist.
  bool OpenKey(const std::string& root, const std::string& path);
  // The same with the key kept in a file named by the player.
  bool CreateKeyInFile(const std::string& file, const std::string& path) { return OpenFile(file, path, true); }
  bool OpenKeyInFile(const std::string& file, const std::string& path) { return OpenFile(file, path, false); }
  // An existing key in a file's whole text, read from no store and never
  // written.
  bool OpenKeyInText(const std::string& text, const std::string& path);
  // A value of fewer than 256 bytes (terminator included); fails otherwise.
  bool ReadString(const std::string& valueName, NString& out) const;
  bool WriteString(const std::string& valueName, const NString& value);
  // Writes pending changes and closes the key; false if the write failed.
  bool CloseKey();
  // The file of the key last opened, and how its last read or write went:
  // why an open or a close failed.
  const std::string& File() const { return file_; }
  const FileOutcome& LastOutcome() const { return outcome_; }

  // For a caller that reads and writes the file in one step of its own
  // (SettingsStore::Update, under the file's lock): the key in the file's
  // text, made when missing and never written to a store; Text() is the
  // file's text with the changes.
  bool CreateKeyInText(const std::string& text, const std::string& path);
  std::string Text() const;
  // Where CreateKey keeps a key; empty without a root.
  static std::string KeyFile(const std::string& root, const std::string& path);

 private:
  bool OpenFile(const std::string& file, const std::string& path, bool create);
  bool Parse(const std::string& text, const std::string& path, bool create);
  bool Flush();
  int FindValue(const std::string& valueName) const;

  bool open_ = false;
  bool dirty_ = false;
  std::string file_;
  std::string section_;
  std::vector<std::string> lines_;
  int sectionLine_ = -1;
  FileOutcome outcome_;
};

// The user's root for NWinReg: $XDG_CONFIG_HOME, else ~/.config (on
// Windows %APPDATA%); empty when none can be found.
std::string UserSettingsRoot();
// The user's root for data that stays on this machine (recorded replays):
// $XDG_DATA_HOME, else ~/.local/share (on Windows %LOCALAPPDATA%); empty
// when none can be found.
std::string UserDataRoot();
