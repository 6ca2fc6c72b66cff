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

EM_JS(int, PageStorageWrite, (const char* key, const uint8_t* text, int length), {
  const value = VelloriaPage.bytesToText(HEAPU8.subarray(text, text + length));
  try {
    localStorage.setItem(UTF8ToString(key), value);
    return 1;
  } catch (e) {
    return 0;  // full, or blocked
  }
});

EM_JS(void, PageStorageFailed, (), { VelloriaPage.storageFailed(); });
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
    PageStorageFailed();
    return {FileOutcome::Status::Failed, "the browser does not let the page keep data"};
  }
  text.assign(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
  std::free(bytes);
  return {};
}

FileOutcome WebSettingsStore::Write(const std::string& path, const std::string& text) {
  if (PageStorageWrite(KeyFor(path).c_str(), reinterpret_cast<const uint8_t*>(text.data()),
                       static_cast<int>(text.size())) != 0) {
    return {};
  }
  PageStorageFailed();
  return {FileOutcome::Status::Failed, "the browser's storage for the page is full or blocked"};
}
