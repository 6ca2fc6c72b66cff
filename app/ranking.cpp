#include "app/ranking.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "app/app_block.h"
#include "app/win_reg.h"

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

bool OpenRankingKey(NWinReg& reg, bool create) {
  switch (place) {
    case RankingPlace::UserSettings:
      return create ? reg.CreateKey(Root(), kRankingKey) : reg.OpenKey(Root(), kRankingKey);
    case RankingPlace::File:
      return create ? reg.CreateKeyInFile(placeFile, kRankingKey) : reg.OpenKeyInFile(placeFile, kRankingKey);
    case RankingPlace::Memory:
      break;
  }
  return false;
}

// The player learns why the ranking did not reach the file; the game plays
// on with the ranking in memory, and the next save tries again.
void ReportFailure(const NWinReg& reg) {
  const FileOutcome& outcome = reg.LastOutcome();
  if (outcome.status == FileOutcome::Status::NotRegular) {
    if (!toldNotRegular) {
      std::fprintf(stderr, "velloria: %s is not a regular file; the ranking will not be saved\n", reg.File().c_str());
    }
    toldNotRegular = true;
  } else if (reg.File().empty()) {
    std::fprintf(stderr, "velloria: cannot save the ranking: %s\n", outcome.reason.c_str());
  } else {
    std::fprintf(stderr, "velloria: cannot save the ranking to %s: %s\n", reg.File().c_str(), outcome.reason.c_str());
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

void LoadRanking() {
  unsaved.clear();
  NWinReg reg;
  if (!OpenRankingKey(reg, true)) {
    // A device or a FIFO in the file's place is worth a word at once; the
    // rest of what a load meets is told by the save that meets it too.
    if (reg.LastOutcome().status == FileOutcome::Status::NotRegular) ReportFailure(reg);
  }
  ReadTable(reg);
  reg.CloseKey();
}

void ResetRanking() {
  unsaved.clear();
  ReadTable(NWinReg());  // a key that is not open reads nothing: the defaults
  SaveRanking();
}

void SaveRanking() {
  if (place == RankingPlace::Memory) return;
  // The key is created here, not by the load, so that reading never writes.
  NWinReg reg;
  bool saved = OpenRankingKey(reg, true);
  if (saved) {
    for (int i = 0; i < kRankEntries; ++i) {
      const RankEntry& entry = GetRankEntry(i);
      NString text(std::to_string(entry.score));
      text.AppendChar(',');
      text.Append(NString(entry.name));
      reg.WriteString(ValueName(i), text);
    }
    saved = reg.CloseKey();
  }
  lastSave = {!saved, reg.File(), saved ? std::string() : reg.LastOutcome().reason, ++savesTried};
  if (!saved) ReportFailure(reg);
}

int FindRankPosition(int32_t score) {
  for (int i = 0; i < kRankEntries; ++i) {
    if (GetRankEntry(i).score < score) return i;
  }
  return -1;
}

namespace {

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

}  // namespace

int EnterRanking(int32_t score, const NString& name) {
  // Another page of the same browser keeps the same stored ranking and may
  // have saved since this run read it: the result goes into the table as it
  // is stored now (with this run's results that never reached it), so no
  // run's entries are lost. A store that cannot be read leaves the table in
  // play as it is.
  NWinReg stored;
  if (place != RankingPlace::Memory && OpenRankingKey(stored, false)) {
    ReadTable(stored);
    for (const auto& [oldScore, oldName] : unsaved) PlaceResult(oldScore, oldName);
  }
  stored.CloseKey();
  NString trimmed = name;
  trimmed.Trim(2, ' ');
  int at = PlaceResult(score, trimmed.Str());
  if (at < 0) return -1;
  SaveRanking();
  if (place != RankingPlace::Memory && lastSave.failed) {
    unsaved.emplace_back(score, GetRankEntry(at).name);
  } else {
    unsaved.clear();
  }
  return at;
}
