#include "audio/soundfont_finder.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <system_error>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The packaged fonts, the 6 MB one before the 140 MB ones.
constexpr const char* kKnownFonts[] = {
    "usr/share/sounds/sf2/TimGM6mb.sf2",
    "usr/share/sounds/sf2/FluidR3_GM.sf2",
    "usr/share/sounds/sf2/default-GM.sf2",
};
constexpr const char* kFontFolder = "usr/share/soundfonts";

bool IsFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

// Any other soundfont in the shared folder, smallest first.
std::string SmallestInFolder(const fs::path& folder) {
  std::vector<std::pair<uintmax_t, std::string>> found;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string ext = it->path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if ((ext != ".sf2" && ext != ".sf3") || !IsFile(it->path())) continue;
    std::error_code sizeError;
    uintmax_t size = fs::file_size(it->path(), sizeError);
    if (!sizeError) found.push_back({size, it->path().string()});
  }
  if (found.empty()) return {};
  return std::min_element(found.begin(), found.end())->second;
}

}  // namespace

std::string FindSoundFont(const char* userSetting, const fs::path& root) {
  if (userSetting && *userSetting) return userSetting;
  for (const char* known : kKnownFonts) {
    if (IsFile(root / known)) return (root / known).string();
  }
  return SmallestInFolder(root / kFontFolder);
}
