#include "platform/web/web_settings_store.h"

#include <emscripten.h>

#include <cstdlib>

#include "app/win_reg.h"

namespace {

// Returns the value's length in bytes, -1 when there is none and -2 when the
// storage cannot be used (blocked by the browser's settings); *text gets a
// malloc'd copy of the value. Both ways the page's text goes through
// VelloriaPage.textToBytes and back, which keep every character as it was
// (UTF-8, a lone surrogate too), so text the game does not know survives a
// save.
// clang-format off
EM_JS(int, PageStorageRead, (const char* key, uint8_t** text), {
  let value;
  try {
    value = localStorage.getItem(UTF8ToString(key));
  } catch (e) {
    return -2;
  }
  if (value === null) return -1;
  const bytes = VelloriaPage.textToBytes(value);
  const copy = _malloc(bytes.length + 1);
  HEAPU8.set(bytes, copy);
  HEAPU32[text >> 2] = copy;
  return bytes.length;
});

// 1 when kept, 0 when the storage is blocked, -1 when it is full (what it
// held stays as it was).
EM_JS(int, PageStorageWrite, (const char* key, const uint8_t* text, int length), {
  const value = VelloriaPage.bytesToText(HEAPU8.subarray(text, text + length));
  try {
    localStorage.setItem(UTF8ToString(key), value);
    return 1;
  } catch (e) {
    return e && e.name === 'QuotaExceededError' ? -1 : 0;
  }
});

EM_JS(void, PageStorageFailed, (int full), { VelloriaPage.storageFailed(full !== 0); });
// clang-format on

std::string KeyFor(const std::string& path) {
  std::string root = UserSettingsRoot() + "/";
  return path.starts_with(root) ? path.substr(root.size()) : path;
}

}  // namespace

FileOutcome WebSettingsStore::Read(const std::string& path, std::string& text) {
  uint8_t* bytes = nullptr;
  int length = PageStorageRead(KeyFor(path).c_str(), &bytes);
  if (length == -1) return {FileOutcome::Status::Missing, ""};
  if (length < 0) {
    PageStorageFailed(0);
    return {FileOutcome::Status::Failed, "the browser does not let the page keep data"};
  }
  text.assign(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
  std::free(bytes);
  return {};
}

FileOutcome WebSettingsStore::Write(const std::string& path, const std::string& text) {
  int kept = PageStorageWrite(KeyFor(path).c_str(), reinterpret_cast<const uint8_t*>(text.data()),
                              static_cast<int>(text.size()));
  if (kept > 0) return {};
  bool full = kept < 0;
  PageStorageFailed(full ? 1 : 0);
  return {FileOutcome::Status::Failed,
          full ? "the browser's storage for the page is full" : "the browser does not let the page keep data"};
}
