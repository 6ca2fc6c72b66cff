#pragma once

#include <cstdint>
#include <string>

#include "base/nstring.h"

// The ranking: eight potion counts with names, best first, kept in the
// application block while the program runs and stored per user between runs.

constexpr const char* kRankingKey = "Software\\KorvaGames\\Velloria";

// Fills the table with the defaults (100 down to 30, "KORVA GAMES"), then
// reads the stored values. Nothing is reported: unreadable values keep their
// defaults, broken ones read by the rules (no usable comma: 0 and "ERROR";
// 10000 or more: 0).
void LoadRanking();
// Writes all eight values; a failure leaves the stored ranking as it was
// and is told on standard error (a path that is not a regular file once a
// run). The game plays on with the ranking in memory; the next save tries
// again.
void SaveRanking();
// The eight default places in play and saved, as the player asked from the
// options; a failure is told as a save's is.
void ResetRanking();
// How the last save went, for a shell that shows a "RANKING NOT SAVED"
// notice: it looks after each name entry. Cleared by SetRankingPlace.
struct RankingSaveStatus {
  bool failed = false;
  std::string file;    // where the ranking was to go
  std::string reason;  // why it did not: "read-only file", "not a regular file"
  uint32_t saves = 0;  // the saves tried this run, so each one can be seen
};
const RankingSaveStatus& LastRankingSave();
// The first place whose score is strictly lower than score, or -1.
int FindRankPosition(int32_t score);
// Puts a result at its place (equal scores stay below older ones), the last
// entry dropping out, and saves. Returns the place or -1.
int EnterRanking(int32_t score, const NString& name);

// The table from a ranking file's whole text, by the loading rules (the
// defaults where the text has no value); nothing is read or written.
void ReadRankingText(const std::string& text);
// One stored value's text -> score and name, by the loading rules.
void ParseRankValue(const NString& text, int32_t& score, std::string& name);
// Where the ranking is kept between runs: the user's settings folder (live
// runs), a file the player names, or nowhere: the defaults in memory, never
// saved (headless runs, so a replay plays the same on every machine).
enum class RankingPlace { UserSettings, File, Memory };
void SetRankingPlace(RankingPlace place, const std::string& file = "");
// The settings folder's root (defaults to the user's settings root); tests
// point it at a folder of their own. Also selects RankingPlace::UserSettings.
void SetRankingRoot(const std::string& root);
