#include "app/ranking.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "app/app_block.h"
#include "app/settings_store.h"
#include "app/win_reg.h"
#include "base/printable.h"

namespace {

constexpr int kScoreLimit = 10000;
constexpr size_t kNameLimit = 15;

std::optional<std::string> rankingRoot;
RankingPlace place = RankingPlace::UserSettings;
std::string placeFile;
RankingSaveStatus lastSave;
uint32_t savesTried = 0;
// A path that is no regular file is named once a run, not at every save.
bool toldNotRegular = false;
// Results this run entered whose save failed: they go into the table again
// whenever it is read back from the store before a save.
std::vector<std::pair<int32_t, std::string>> unsaved;

std::string Root() { return rankingRoot ? *rankingRoot : UserSettingsRoot(); }

// The file the ranking is kept in; empty without a settings folder (or in
// memory).
std::string RankingFile() {
  switch (place) {
    case RankingPlace::UserSettings:
      return NWinReg::KeyFile(Root(), kRankingKey);
    case RankingPlace::File:
      return placeFile;
    case RankingPlace::Memory:
      break;
  }
  return {};
}

bool OpenRankingKey(NWinReg& reg, bool create) {
  if (place == RankingPlace::Memory) return false;
  return create ? reg.CreateKeyInFile(RankingFile(), kRankingKey) : reg.OpenKeyInFile(RankingFile(), kRankingKey);
}

// The player learns why the ranking did not reach the file; the game plays
// on with the ranking in memory, and the next save tries again.
void ReportFailure(const std::string& file, const FileOutcome& outcome) {
  if (outcome.status == FileOutcome::Status::NotRegular) {
    if (!toldNotRegular) {
      std::fprintf(stderr, "velloria: %s is not a regular file; the ranking will not be saved\n",
                   PrintablePath(file).c_str());
    }
    toldNotRegular = true;
  } else if (file.empty()) {
    std::fprintf(stderr, "velloria: cannot save the ranking: %s\n", outcome.reason.c_str());
  } else {
    std::fprintf(stderr, "velloria: cannot save the ranking to %s: %s\n", PrintablePath(file).c_str(),
                 outcome.reason.c_str());
  }
}

std::string ValueName(int i) { return "Rank" + std::to_string(i); }

void SetName(RankEntry& entry, const std::string& name) {
  std::memset(entry.name, 0, sizeof(entry.name));
  std::strncpy(entry.name, name.c_str(), kNameLimit);
}

// Leading blanks and a sign, then digits up to the first other character;
// 0 without digits. Numbers beyond 32 bits are clamped, not overflowed.
int32_t ParseLeadingInteger(const char* text) {
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  int64_t value = 0;
  while (std::isdigit(static_cast<unsigned char>(*text))) {
    value = value * 10 + (*text++ - '0');
    if (value > int64_t{INT32_MAX} + 1) value = int64_t{INT32_MAX} + 1;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  return static_cast<int32_t>(value);
}

}  // namespace

void SetRankingPlace(RankingPlace where, const std::string& file) {
  place = where;
  placeFile = file;
  lastSave = {};
  unsaved.clear();
  toldNotRegular = false;
}

const RankingSaveStatus& LastRankingSave() { return lastSave; }

void SetRankingRoot(const std::string& root) {
  rankingRoot = root;
  SetRankingPlace(RankingPlace::UserSettings);
}

void ParseRankValue(const NString& text, int32_t& score, std::string& name) {
  int comma = text.Find(',', 0);
  if (comma <= 0) {
    score = 0;
    name = "ERROR";
    return;
  }
  score = ParseLeadingInteger(text.GetBuffer());
  if (score >= kScoreLimit) score = 0;
  NString rest = text.Mid(comma + 1, text.GetLength() - 1);
  rest.Trim(2, ' ');
  name = rest.Str().substr(0, kNameLimit);
}

namespace {

// The defaults, then the values stored under an open key (a key that did
// not open reads nothing: the defaults stay).
void ReadTable(const NWinReg& reg) {
  for (int i = 0; i < kRankEntries; ++i) {
    RankEntry& entry = GetRankEntry(i);
    entry.score = 100 - 10 * i;
    SetName(entry, "KORVA GAMES");
    NString text;
    if (!reg.ReadString(ValueName(i), text)) continue;
    std::string name;
    ParseRankValue(text, entry.score, name);
    SetName(entry, name);
  }
}

}  // namespace

void ReadRankingText(const std::string& text) {
  NWinReg reg;
  reg.OpenKeyInText(text, kRankingKey);
  ReadTable(reg);
}

void LoadRanking() {
  unsaved.clear();
  NWinReg reg;
  if (!OpenRankingKey(reg, true)) {
    // A device or a FIFO in the file's place is worth a word at once; the
    // rest of what a load meets is told by the save that meets it too.
    if (reg.LastOutcome().status == FileOutcome::Status::NotRegular) ReportFailure(reg.File(), reg.LastOutcome());
  }
  ReadTable(reg);
  reg.CloseKey();
}

namespace {

void WriteTable(NWinReg& reg) {
  for (int i = 0; i < kRankEntries; ++i) {
    const RankEntry& entry = GetRankEntry(i);
    NString text(std::to_string(entry.score));
    text.AppendChar(',');
    text.Append(NString(entry.name));
    reg.WriteString(ValueName(i), text);
  }
}

// Puts a result at its place by the ranking's rules; returns the place or -1.
int PlaceResult(int32_t score, const std::string& name) {
  int at = FindRankPosition(score);
  if (at < 0) return -1;
  for (int i = kRankEntries - 1; i > at; --i) GetRankEntry(i) = GetRankEntry(i - 1);
  RankEntry& entry = GetRankEntry(at);
  entry.score = score;
  SetName(entry, name);
  return at;
}

// One step under the file's lock, so that no other copy's save comes
// between: the table as stored now (another copy, or another page of the
// same browser, may have saved since this run read it) with this run's
// results that never reached it, then change, then all eight values
// written. A store that cannot be read leaves the table in play as it is,
// and change is made to it all the same. False (and nothing written) when
// change says there is nothing to save.
struct TableSave {
  bool wrote = false;
  FileOutcome outcome;
};
TableSave StoreTable(const std::function<bool()>& change) {
  const std::string file = RankingFile();
  if (file.empty()) {
    bool wanted = change();
    NWinReg reg;  // names why there is no file
    reg.CreateKeyInFile(file, kRankingKey);
    return {wanted, reg.LastOutcome()};
  }
  bool merged = false;
  bool wanted = true;
  FileOutcome outcome = GetSettingsStore().Update(file, [&](std::string_view current, bool) {
    merged = true;
    const std::string text(current);
    NWinReg reg;
    if (reg.OpenKeyInText(text, kRankingKey)) {
      ReadTable(reg);
      for (const auto& [oldScore, oldName] : unsaved) PlaceResult(oldScore, oldName);
    } else {
      reg.CreateKeyInText(text, kRankingKey);
    }
    wanted = change();
    std::optional<std::string> saved;
    if (!wanted) return saved;
    WriteTable(reg);
    saved = reg.Text();
    return saved;
  });
  if (!merged) wanted = change();
  return {wanted, outcome};
}

// A save that went through took this run's unsaved results with it.
void Record(const TableSave& save) {
  const std::string file = RankingFile();
  lastSave = {!save.outcome.Done(), file, save.outcome.Done() ? std::string() : save.outcome.reason, ++savesTried};
  if (save.outcome.Done()) {
    unsaved.clear();
  } else {
    ReportFailure(file, save.outcome);
  }
}

}  // namespace

void SaveRanking() {
  if (place == RankingPlace::Memory) return;
  Record(StoreTable([] { return true; }));
}

void ResetRanking() {
  unsaved.clear();
  // A key that is not open reads nothing: the defaults. Under the save's
  // lock the table read from the file is replaced whole.
  auto defaults = [] {
    ReadTable(NWinReg());
    return true;
  };
  if (place == RankingPlace::Memory) {
    defaults();
    return;
  }
  Record(StoreTable(defaults));
}

int FindRankPosition(int32_t score) {
  for (int i = 0; i < kRankEntries; ++i) {
    if (GetRankEntry(i).score < score) return i;
  }
  return -1;
}

int EnterRanking(int32_t score, const NString& name) {
  NString trimmed = name;
  trimmed.Trim(2, ' ');
  if (place == RankingPlace::Memory) return PlaceResult(score, trimmed.Str());
  int at = -1;
  TableSave save = StoreTable([&] {
    at = PlaceResult(score, trimmed.Str());
    return at >= 0;
  });
  if (!save.wrote) return -1;
  Record(save);
  if (lastSave.failed) unsaved.emplace_back(score, GetRankEntry(at).name);
  return at;
}
