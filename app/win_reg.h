#pragma once

#include <string>
#include <vector>

#include "base/nstring.h"

// A per-user key of string values, kept where a desktop keeps settings:
// the key path "Software\KorvaGames\Velloria" under the user's root becomes
// the file <root>/KorvaGames/Velloria/ranking.ini with the section
// [Software\KorvaGames\Velloria] and lines "Name=text". Lines the program
// does not know are kept. Changes are written when the key is closed, the
// whole text at once through the SettingsStore (on disk: a temporary file
// renamed over the old one, so a crash or a full disk leaves it intact).
class NWinReg {
 public:
  NWinReg() = default;
  virtual ~NWinReg();
  NWinReg(const NWinReg&) = delete;
  NWinReg& operator=(const NWinReg&) = delete;

  // Opens the key, creating it (and its folder) when missing.
  bool CreateKey(const std::string& root, const std::string& path);
  // Opens an existing key; fails when it does not exist.
  bool OpenKey(const std::string& root, const std::string& path);
  // The same with the key kept in a file named by the player.
  bool CreateKeyInFile(const std::string& file, const std::string& path) { return OpenFile(file, path, true); }
  bool OpenKeyInFile(const std::string& file, const std::string& path) { return OpenFile(file, path, false); }
  // A value of fewer than 256 bytes (terminator included); fails otherwise.
  bool ReadString(const std::string& valueName, NString& out) const;
  bool WriteString(const std::string& valueName, const NString& value);
  // Writes pending changes and closes the key; false if the write failed.
  bool CloseKey();
  bool IsOpen() const { return open_; }

 private:
  bool OpenFile(const std::string& file, const std::string& path, bool create);
  bool Flush();
  int FindValue(const std::string& valueName) const;

  bool open_ = false;
  bool dirty_ = false;
  std::string file_;
  std::string section_;
  std::vector<std::string> lines_;
  int sectionLine_ = -1;
};

// The user's root for NWinReg: $XDG_CONFIG_HOME, else ~/.config; empty when
// neither can be found.
std::string UserSettingsRoot();
