// A ranking file of any bytes reads by the rules and never crashes; a
// result entered into it keeps every line the ranking does not own. All in
// memory: the store is a string.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "app/app_block.h"
#include "app/ranking.h"
#include "app/settings_store.h"

namespace {

class TextStore : public SettingsStore {
 public:
  FileOutcome Read(const std::string&, std::string& text) override {
    text = stored;
    return {};
  }
  FileOutcome Write(const std::string&, const std::string& text) override {
    stored = text;
    return {};
  }
  std::string stored;
};

constexpr int kScoreLimit = 10000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text =
      "[Software\\KorvaGames\\Velloria]\n" + std::string(reinterpret_cast<const char*>(data), size);
  ReadRankingText(text);
  for (int i = 0; i < kRankEntries; ++i) {
    const RankEntry& entry = GetRankEntry(i);
    if (entry.score >= kScoreLimit || entry.name[sizeof(entry.name) - 1] != '\0') __builtin_trap();
  }
  TextStore store;
  store.stored = text;
  SetSettingsStore(&store);
  SetRankingPlace(RankingPlace::File, "ranking.ini");
  LoadRanking();
  EnterRanking(kScoreLimit - 1, NString("FUZZ"));
  SetSettingsStore(nullptr);
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    bool owned = line.size() > 4 && (line[0] == 'R' || line[0] == 'r');
    if (!owned && store.stored.find(line) == std::string::npos) __builtin_trap();
  }
  return 0;
}
