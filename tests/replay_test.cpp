// The replay regression suite: recorded sessions under tests/replays/<name>/
// (args: the command line; input.txt: the recorded events with their seed;
// stats.digest and shots.digest: what the game did) are played again and
// must give the same frames. After an intended change of behaviour,
// re-record the digests with
//   VELLORIA_RERECORD=1 build/tests/velloria_tests --gtest_filter='Replays.*'
// and review the diff before committing it.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/run_helpers.h"

namespace fs = std::filesystem;

namespace {

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

std::string Trimmed(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s;
}

const fs::path kReplays = fs::path(VELLORIA_SOURCE_DIR) / "tests" / "replays";

std::vector<fs::path> ReplayFolders() {
  std::vector<fs::path> folders;
  for (const auto& entry : fs::directory_iterator(kReplays)) {
    if (entry.is_directory() && fs::exists(entry.path() / "args")) folders.push_back(entry.path());
  }
  std::sort(folders.begin(), folders.end());
  return folders;
}

// Frames whose pictures are kept: "shots F1 F2 ..." in the args file's second line.
std::vector<int> ShotFrames(const std::vector<std::string>& args) {
  std::vector<int> frames;
  if (args.size() > 1) {
    std::istringstream in(args[1]);
    std::string word;
    in >> word;
    for (int f; in >> f;) frames.push_back(f);
  }
  return frames;
}

}  // namespace

TEST(Replays, EveryRecordedSessionPlaysBackFrameForFrame) {
  auto folders = ReplayFolders();
  ASSERT_FALSE(folders.empty()) << "no recorded sessions under " << kReplays;
  bool rerecord = std::getenv("VELLORIA_RERECORD") != nullptr;
  for (const fs::path& folder : folders) {
    SCOPED_TRACE(folder.filename().string());
    auto args = Lines(ReadFile(folder / "args"));
    ASSERT_FALSE(args.empty());
    auto work = TestDir("replay-" + folder.filename().string());
    std::string command = "--headless " + args[0] + " --input " + (folder / "input.txt").string() + " --stats " +
                          (work / "stats.txt").string();
    auto shots = ShotFrames(args);
    for (int f : shots)
      command += " --shot " + std::to_string(f) + ":" + (work / (std::to_string(f) + ".png")).string();
    RunResult r = RunGame(command, (work / "config").string());
    ASSERT_EQ(r.code, 0) << r.errors;

    auto stats = Lines(ReadFile(work / "stats.txt"));
    std::string statsDigest;
    for (const std::string& line : stats) statsDigest += Hex(Crc32(line)) + "\n";
    std::string shotsDigest;
    for (int f : shots)
      shotsDigest += std::to_string(f) + " " + Hex(Crc32(ReadFile(work / (std::to_string(f) + ".png")))) + "\n";

    if (rerecord) {
      std::ofstream(folder / "stats.digest") << statsDigest;
      std::ofstream(folder / "shots.digest") << shotsDigest;
      continue;
    }
    auto expected = Lines(ReadFile(folder / "stats.digest"));
    auto actual = Lines(statsDigest);
    size_t n = std::min(expected.size(), actual.size());
    size_t first = n;
    for (size_t i = 0; i < n; ++i) {
      if (expected[i] != actual[i]) {
        first = i;
        break;
      }
    }
    if (first < n || expected.size() != actual.size()) {
      ADD_FAILURE() << "first frame that differs: " << first
                    << "\n  now: " << (first < stats.size() ? stats[first] : "(none)");
      continue;
    }
    EXPECT_EQ(Trimmed(ReadFile(folder / "shots.digest")), Trimmed(shotsDigest)) << "pictures differ";
  }
}
