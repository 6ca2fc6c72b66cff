#include "platform/web/web_settings_store.h"

#include <emscripten.h>

#include <cstdlib>

#include "app/win_reg.h"

namespace {

// Returns the value's length, -1 when there is none and -2 when the storage
// cannot be used (blocked by the browser's settings); *text gets a malloc'd
// copy of the value, one byte per character.
// clang-format off
EM_JS(int, PageStorageRead, (const char* key, uint8_t** text), {
  let value;
  try {
    value = localStorage.getItem(UTF8ToString(key));
  } catch (e) {
    return -2;
  }
  if (value === null) return -1;
  const bytes = _malloc(value.length + 1);
  for (let i = 0; i < value.length; ++i) HEAPU8[bytes + i] = value.charCodeAt(i) & 0xFF;
  HEAPU32[text >> 2] = bytes;
  return value.length;
});

EM_JS(int, PageStorageWrite, (const char* key, const uint8_t* text, int length), {
  let value = "";
  for (let i = 0; i < length; i += 4096) {
    value += String.fromCharCode.apply(null, HEAPU8.subarray(text + i, text + Math.min(length, i + 4096)));
  }
  try {
    localStorage.setItem(UTF8ToString(key), value);
    return 1;
  } catch (e) {
    return 0;  // full, or blocked
  }
});
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
  if (length < 0) return {FileOutcome::Status::Failed, "the browser does not let the page keep data"};
  text.assign(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
  std::free(bytes);
  return {};
}

FileOutcome WebSettingsStore::Write(const std::string& path, const std::string& text) {
  if (PageStorageWrite(KeyFor(path).c_str(), reinterpret_cast<const uint8_t*>(text.data()),
                       static_cast<int>(text.size())) != 0) {
    return {};
  }
  return {FileOutcome::Status::Failed, "the browser's storage for the page is full or blocked"};
}
