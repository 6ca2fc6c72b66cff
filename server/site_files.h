#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// A folder of files served as they are (the game's page, the hall's page).
// A request only ever reaches a regular file inside the folder: no "..",
// no hidden names, no way out through a link.
class SiteFiles {
 public:
  explicit SiteFiles(const std::filesystem::path& root);
  bool Usable() const { return !root_.empty(); }
  // The file for a path below the folder (already URL-decoded, without the
  // leading slash; empty or ending in '/' means its index.html), or nothing.
  std::optional<std::filesystem::path> Find(std::string_view relative) const;

 private:
  std::filesystem::path root_;  // canonical; empty when the folder is missing
};

// The Content-Type of a file by its extension.
std::string ContentTypeOf(const std::filesystem::path& file);
