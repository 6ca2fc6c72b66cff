#include "app/shelf_edit.h"

#include <algorithm>

#include "base/utf8_path.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kIndexName = "index.txt";
constexpr int kFirstExport = 1;
constexpr int kLastExport = 999;

// The index with one change made to the named run's line; Missing when the
// index does not name it.
template <typename Change>
FileOutcome EditIndex(const fs::path& folder, const std::string& file, Change change) {
  std::vector<ShelfEntry> entries = ReadShelf(folder);
  auto it = std::find_if(entries.begin(), entries.end(), [&](const ShelfEntry& e) { return e.file == file; });
  if (it == entries.end()) return {FileOutcome::Status::Missing, "no such run"};
  change(entries, it);
  return SavePlayerFile(Utf8Of(folder / kIndexName), FormatShelfIndex(entries));
}

}  // namespace

std::vector<ShelfEntry> ReadShelf(const fs::path& folder) {
  std::string text;
  if (folder.empty() || !ReadPlayerFile(Utf8Of(folder / kIndexName), text).Done()) return {};
  return ParseShelfIndex(text);
}

FileOutcome MarkKept(const fs::path& folder, const std::string& file, bool kept) {
  return EditIndex(folder, file, [kept](auto&, auto it) { it->kept = kept; });
}

FileOutcome DeleteKeptRun(const fs::path& folder, const std::string& file) {
  FileOutcome outcome = EditIndex(folder, file, [](auto& entries, auto it) { entries.erase(it); });
  if (!outcome.Done()) return outcome;
  std::error_code ec;
  fs::remove(folder / PathFromUtf8(file), ec);
  return outcome;
}

FileOutcome ExportKeptRun(const fs::path& folder, const ShelfEntry& run, const fs::path& into, std::string& saved) {
  std::string text;
  if (FileOutcome read = ReadPlayerFile(Utf8Of(folder / PathFromUtf8(run.file)), text); !read.Done()) return read;
  // 2026-12-08T12:44:55Z names the file velloria-20261208-124455-N.txt.
  std::string stamp;
  for (char c : run.date) {
    if (c == 'T') stamp += '-';
    if (c >= '0' && c <= '9') stamp += c;
  }
  auto name = [&stamp](int n) { return "velloria-" + stamp + "-" + std::to_string(n) + ".txt"; };
  std::error_code ec;
  fs::create_directories(into, ec);
  if (ec) return {FileOutcome::Status::Failed, ec.message()};
  return SaveNewPlayerFile(Utf8Of(into), name, kFirstExport, kLastExport, text, saved);
}
