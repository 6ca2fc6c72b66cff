// Where the player's files go on Windows: the settings (and the ranking's
// text, kept in the registry) under %APPDATA%, what stays on this machine
// (replays) under %LOCALAPPDATA%, screenshots in the Pictures known folder,
// exported runs in the Documents one.
#include <shlobj.h>
#include <windows.h>

#include <filesystem>

#include "app/picture_folder.h"
#include "app/win_reg.h"
#include "platform/windows/win_text.h"

namespace fs = std::filesystem;

namespace {

fs::path KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR found = nullptr;
  fs::path path;
  if (SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &found) == S_OK) path = found;
  CoTaskMemFree(found);
  return path;
}

}  // namespace

std::string UserSettingsRoot() {
  // The variable first, as the player (or a test) may point it elsewhere.
  std::string named = EnvironmentText(L"APPDATA");
  if (!named.empty()) return named;
  return Narrow(KnownFolder(FOLDERID_RoamingAppData).wstring());
}

std::string UserDataRoot() {
  std::string named = EnvironmentText(L"LOCALAPPDATA");
  if (!named.empty()) return named;
  return Narrow(KnownFolder(FOLDERID_LocalAppData).wstring());
}

fs::path DocumentsFolder() { return KnownFolder(FOLDERID_Documents); }

fs::path PicturesFolder() {
  std::error_code ec;
  fs::path pictures = KnownFolder(FOLDERID_Pictures);
  if (!pictures.empty() && fs::is_directory(pictures, ec)) return pictures;
  return ".";
}
