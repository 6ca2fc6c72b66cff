#include "server/site_files.h"

#include <map>

namespace fs = std::filesystem;

SiteFiles::SiteFiles(const fs::path& root) {
  std::error_code ec;
  fs::path canonical = fs::canonical(root, ec);
  if (!ec && fs::is_directory(canonical, ec)) root_ = canonical;
}

std::optional<fs::path> SiteFiles::Find(std::string_view relative) const {
  if (root_.empty()) return std::nullopt;
  std::string wanted(relative);
  if (wanted.empty() || wanted.back() == '/') wanted += "index.html";
  // Every segment a plain name: nothing empty, nothing starting with a dot
  // (".", "..", hidden files), no backslash or NUL that a decoded %5C or %00
  // could bring in.
  fs::path path = root_;
  size_t start = 0;
  while (start <= wanted.size()) {
    size_t end = wanted.find('/', start);
    if (end == std::string::npos) end = wanted.size();
    std::string_view segment(wanted.data() + start, end - start);
    if (segment.empty() || segment.front() == '.' ||
        segment.find_first_of(std::string_view("\\\0", 2)) != std::string_view::npos) {
      return std::nullopt;
    }
    path /= std::string(segment);
    start = end + 1;
  }
  // A link inside the folder may point out of it: the real place decides.
  std::error_code ec;
  fs::path real = fs::canonical(path, ec);
  if (ec || !fs::is_regular_file(real, ec)) return std::nullopt;
  auto [rootEnd, realAt] = std::mismatch(root_.begin(), root_.end(), real.begin(), real.end());
  if (rootEnd != root_.end()) return std::nullopt;
  return real;
}

std::string ContentTypeOf(const fs::path& file) {
  static const std::map<std::string, std::string> kTypes = {
      {".html", "text/html; charset=utf-8"},
      {".js", "text/javascript; charset=utf-8"},
      {".mjs", "text/javascript; charset=utf-8"},
      {".css", "text/css; charset=utf-8"},
      {".json", "application/json"},
      {".webmanifest", "application/manifest+json"},
      {".wasm", "application/wasm"},
      {".png", "image/png"},
      {".svg", "image/svg+xml"},
      {".ico", "image/x-icon"},
      {".ogg", "audio/ogg"},
      {".mid", "audio/midi"},
      {".txt", "text/plain; charset=utf-8"},
  };
  auto it = kTypes.find(file.extension().string());
  return it == kTypes.end() ? "application/octet-stream" : it->second;
}
