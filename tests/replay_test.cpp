// The replay regression suite: every session under tests/replays/<name>/
// (args: the command line and "shots F1 F2 ..."; input.txt: the recorded
// events with their seed) is played again headless and must give the same
// frames: frames.digest holds, per frame, a CRC-32 of the --stats line and
// the digest of the presented picture; sounds.log the whole sound log;
// shots.digest a CRC-32 of each kept picture. After an intended change,
// re-record with
//   VELLORIA_RERECORD=1 build/tests/velloria_tests --gtest_filter='*Replays*'
// and review the difference before committing it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/run_helpers.h"

namespace fs = std::filesystem;

namespace {

const fs::path kReplays = fs::path(VELLORIA_SOURCE_DIR) / "tests" / "replays";

uint32_t Crc32(const std::string& data) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : data) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  return ~crc;
}

std::string Hex(uint32_t v) {
  char text[9];
  std::snprintf(text, sizeof(text), "%08x", v);
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Index of the first line that differs, or -1 when both are the same.
int FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  return ia == a.end() && ib == b.end() ? -1 : static_cast<int>(ia - a.begin());
}

std::vector<std::string> Sessions() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kReplays)) {
    if (fs::exists(entry.path() / "args")) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class Replays : public ::testing::TestWithParam<std::string> {};

// A failed replay's files stay for a look, in the build folder.
struct KeepOnFailure {
  const fs::path& from;
  fs::path to;
  ~KeepOnFailure() {
    std::error_code ec;
    fs::remove_all(to, ec);
    if (!::testing::Test::HasFailure()) return;
    fs::create_directories(to, ec);
    fs::copy(from, to, fs::copy_options::recursive, ec);
  }
};

}  // namespace

TEST_P(Replays, PlayBackFrameForFrame) {
  fs::path folder = kReplays / GetParam();
  auto args = Lines(ReadFile(folder / "args"));
  ASSERT_FALSE(args.empty());
  TestDir work("replay-" + GetParam());
  KeepOnFailure keep{work, fs::path(VELLORIA_EXE).parent_path() / "replay-failures" / GetParam()};
  std::string command = "--headless " + args[0] + " --input " + (folder / "input.txt").string();
  for (const char* log : {"stats", "picture-log", "sound-log"})
    command += " --" + std::string(log) + " " + (work / log).string();
  std::vector<std::string> shots;
  std::istringstream shotWords(args.size() > 1 ? args[1] : "");
  for (std::string word; shotWords >> word;) {
    if (word != "shots") shots.push_back(word);
  }
  for (const std::string& f : shots) command += " --shot " + f + ":" + (work / (f + ".png")).string();
  RunResult r = RunGame(command, (work / "config").string());
  ASSERT_EQ(r.code, 0) << r.errors;

  auto stats = Lines(ReadFile(work / "stats"));
  auto pictures = Lines(ReadFile(work / "picture-log"));
  ASSERT_EQ(stats.size(), pictures.size());
  std::vector<std::string> frames;
  for (size_t i = 0; i < stats.size(); ++i)
    frames.push_back(Hex(Crc32(stats[i])) + pictures[i].substr(pictures[i].find(' ')));
  std::vector<std::string> kept;
  for (const std::string& f : shots) kept.push_back(f + " " + Hex(Crc32(ReadFile(work / (f + ".png")))));
  std::string sounds = ReadFile(work / "sound-log");

  if (std::getenv("VELLORIA_RERECORD")) {
    std::ofstream frameFile(folder / "frames.digest");
    for (const std::string& line : frames) frameFile << line << "\n";
    std::ofstream shotFile(folder / "shots.digest");
    for (const std::string& line : kept) shotFile << line << "\n";
    std::ofstream(folder / "sounds.log") << sounds;
    return;
  }
  auto expected = Lines(ReadFile(folder / "frames.digest"));
  if (int f = FirstDifference(expected, frames); f >= 0) {
    bool sameState = static_cast<size_t>(f) < expected.size() && static_cast<size_t>(f) < frames.size() &&
                     expected[f].substr(0, 8) == frames[f].substr(0, 8);
    FAIL() << "first frame that differs: " << f << (sameState ? " (the picture)" : " (the state)")
           << "\n  now: " << (static_cast<size_t>(f) < stats.size() ? stats[f] : "(the run ended)")
           << "\n  see it: build/velloria --headless " << args[0] << " --input " << (folder / "input.txt").string()
           << " --shot " << f << ":frame.png";
  }
  auto expectedSounds = Lines(ReadFile(folder / "sounds.log"));
  auto actualSounds = Lines(sounds);
  if (int n = FirstDifference(expectedSounds, actualSounds); n >= 0) {
    ADD_FAILURE() << "the sound log differs from line " << n + 1 << ": now \""
                  << (static_cast<size_t>(n) < actualSounds.size() ? actualSounds[n] : "(end)") << "\", recorded \""
                  << (static_cast<size_t>(n) < expectedSounds.size() ? expectedSounds[n] : "(end)") << "\"";
  }
  EXPECT_EQ(Lines(ReadFile(folder / "shots.digest")), kept) << "kept pictures differ; they are in " << keep.to;
}

INSTANTIATE_TEST_SUITE_P(Sessions, Replays, ::testing::ValuesIn(Sessions()), [](const auto& session) {
  std::string name = session.param;
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
});
