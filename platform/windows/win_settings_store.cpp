// On Windows the ranking lives where Windows programs keep such things: in
// the registry under HKEY_CURRENT_USER, values Rank0 to Rank7 under the key
// the ranking names, each holding the text its line holds in the ranking
// file elsewhere. NWinReg reads and writes that file's whole text through
// this store, which serves the text of the ranking's place from the
// registry; every other file is a file on disk.
#include <windows.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include "app/ranking.h"
#include "app/settings_store.h"
#include "app/win_reg.h"
#include "platform/windows/win_text.h"

namespace fs = std::filesystem;

namespace {

constexpr DWORD kMaxValueChars = 16384;

struct KeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using Key = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

// Where NWinReg would keep the ranking key's file under the user's root.
bool IsRegistryFile(const std::string& path) {
  std::string root = UserSettingsRoot();
  if (root.empty()) return false;
  fs::path mirror = fs::path(Widen(root)) / L"KorvaGames" / L"Velloria" / L"ranking.ini";
  // Both read as UTF-8, and with the same separators.
  return fs::path(Widen(path)).lexically_normal() == mirror.lexically_normal();
}

FileOutcome Failed(const char* what, LSTATUS status) {
  return {FileOutcome::Status::Failed, std::string(what) + " (Windows error " + std::to_string(status) + ")"};
}

// The key's string values as the ranking file's text: its section line,
// then "Name=text" lines.
FileOutcome ReadKey(std::string& text) {
  HKEY opened = nullptr;
  LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, Widen(kRankingKey).c_str(), 0, KEY_READ, &opened);
  if (status == ERROR_FILE_NOT_FOUND) return {FileOutcome::Status::Missing, ""};
  if (status != ERROR_SUCCESS) return Failed("cannot open the registry key", status);
  Key key(opened);
  std::string all = std::string("[") + kRankingKey + "]\n";
  std::vector<wchar_t> name(kMaxValueChars);
  std::vector<BYTE> data(kMaxValueChars * sizeof(wchar_t));
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataSize = static_cast<DWORD>(data.size());
    DWORD type = 0;
    status = RegEnumValueW(key.get(), i, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status == ERROR_MORE_DATA) continue;  // longer than any value the game reads
    if (status != ERROR_SUCCESS) return Failed("cannot read the registry key", status);
    if (type != REG_SZ) continue;
    std::wstring value(reinterpret_cast<const wchar_t*>(data.data()), dataSize / sizeof(wchar_t));
    while (!value.empty() && value.back() == L'\0') value.pop_back();
    all += Narrow(std::wstring_view(name.data(), nameLength)) + "=" + Narrow(value) + "\n";
  }
  text = std::move(all);
  return {};
}

// The "Name=text" lines of the key's section become its values; values the
// text does not name stay as they are.
FileOutcome WriteKey(const std::string& text) {
  HKEY created = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, Widen(kRankingKey).c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE,
                                   nullptr, &created, nullptr);
  if (status != ERROR_SUCCESS) return Failed("cannot make the registry key", status);
  Key key(created);
  const std::string section = std::string("[") + kRankingKey + "]";
  bool inSection = false;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.front() == '[') {
      inSection = line == section;
      continue;
    }
    size_t eq = line.find('=');
    if (!inSection || eq == std::string::npos || eq == 0) continue;
    std::wstring value = Widen(line.substr(eq + 1));
    status = RegSetValueExW(key.get(), Widen(line.substr(0, eq)).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) return Failed("cannot write the registry key", status);
  }
  // Written through, as a file save is.
  RegFlushKey(key.get());
  return {};
}

class WindowsStore : public SettingsStore {
 public:
  FileOutcome Read(const std::string& path, std::string& text) override {
    return IsRegistryFile(path) ? ReadKey(text) : ReadPlayerFile(path, text);
  }
  FileOutcome Write(const std::string& path, const std::string& text) override {
    return IsRegistryFile(path) ? WriteKey(text) : SavePlayerFile(path, text);
  }
  // A file is merged under its save lock; the registry's value is read and
  // written whole (live copies are kept apart by the instance lock).
  FileOutcome Update(const std::string& path, const PlayerFileMerge& merge) override {
    return IsRegistryFile(path) ? SettingsStore::Update(path, merge) : UpdatePlayerFile(path, merge);
  }
};

}  // namespace

SettingsStore& SystemSettingsStore() {
  static WindowsStore windows;
  return windows;
}
