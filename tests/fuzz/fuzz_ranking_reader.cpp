// A ranking file of any bytes loads by the rules, never crashes, and a save
// afterwards keeps every line it did not write.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/ranking.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A folder for each input, gone with it, so that a fuzzing run leaves none.
  struct Folder {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("velloria-fuzz-ranking-" + std::to_string(getpid()));
    ~Folder() {
      std::error_code ec;
      std::filesystem::remove_all(path, ec);
    }
  } folder;
  const std::filesystem::path& root = folder.path;
  std::filesystem::create_directories(root / "KorvaGames" / "Velloria");
  {
    std::ofstream file(root / "KorvaGames" / "Velloria" / "ranking.ini", std::ios::binary | std::ios::trunc);
    file << "[Software\\KorvaGames\\Velloria]\n";
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  SetRankingRoot(root.string());
  LoadRanking();
  EnterRanking(5000, NString("FUZZ"));
  LoadRanking();
  return 0;
}
