#include "platform/web/web_kept_runs.h"

#include <emscripten.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/app_block.h"
#include "app/player_file.h"
#include "app/replay_shelf.h"
#include "app/shelf_edit.h"
#include "shell/replays_page.h"

namespace fs = std::filesystem;

namespace {

// clang-format off
EM_JS(void, PageLoadKeptRuns, (const char* folder), { VelloriaKeptRuns.load(UTF8ToString(folder)); });
EM_JS(void, PageSaveKeptRuns, (const char* folder), { VelloriaKeptRuns.save(UTF8ToString(folder)); });
EM_JS(void, PageDownload, (const char* name, const char* bytes, int length), {
  VelloriaKeptRuns.download(UTF8ToString(name), HEAPU8.slice(bytes, bytes + length));
});
// clang-format on

// The folder's index, which every keep, KEEP and DELETE saves anew.
constexpr const char* kIndexName = "index.txt";

std::function<void()> whenLoaded;

// The index as last written to the browser: a save of it makes a new file
// renamed over the old one.
struct IndexSeen {
  ino_t inode = 0;
  off_t size = -1;
  int64_t changedNs = 0;
  bool operator==(const IndexSeen&) const = default;
};
IndexSeen written;

IndexSeen LookAtIndex() {
  struct stat st {};
  std::string index = (fs::path(kKeptRunsFolder) / kIndexName).string();
  if (::stat(index.c_str(), &st) != 0) return {};
  constexpr int64_t kNsPerSecond = 1000000000;
  return {st.st_ino, st.st_size, int64_t{st.st_mtim.tv_sec} * kNsPerSecond + st.st_mtim.tv_nsec};
}

void OfferExports() {
  std::error_code ec;
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(kExportsFolder, ec)) {
    if (entry.is_regular_file(ec)) files.push_back(entry.path());
  }
  for (const fs::path& file : files) {
    std::string text;
    if (ReadPlayerFile(file.string(), text).Done()) {
      PageDownload(file.filename().string().c_str(), text.data(), static_cast<int>(text.size()));
    }
    fs::remove(file, ec);
  }
}

}  // namespace

void LoadKeptRuns(std::function<void()> loaded) {
  whenLoaded = std::move(loaded);
  PageLoadKeptRuns(kKeptRunsFolder);
}

void PassKeptRunsOn() {
  if (IndexSeen now = LookAtIndex(); now != written) {
    written = now;
    PageSaveKeptRuns(kKeptRunsFolder);
  }
  OfferExports();
}

// Calls from the page.
extern "C" {

// The folder holds what the browser kept (kept-runs.js calls it once).
EMSCRIPTEN_KEEPALIVE void velloria_kept_runs_loaded() {
  written = LookAtIndex();
  if (std::function<void()> loaded = std::move(whenLoaded)) loaded();
}

// The kept runs as REPLAYS lists them, newest first, one a line.
EMSCRIPTEN_KEEPALIVE const char* velloria_kept_runs() {
  static std::string text;
  text.clear();
  std::vector<ShelfEntry> runs = ReadShelf(kKeptRunsFolder);
  std::vector<int> places = RankedPlaces(runs, GetAppBlock().ranking);
  for (size_t i = runs.size(); i-- > 0;) text += ReplaysPage::Line(runs[i], places[i]) + "\n";
  return text.c_str();
}

}  // extern "C"
