// The replay regression suite: every session under tests/replays/<name>/
// (args: the command line and "shots F1 F2 ..."; input.txt: the recorded
// events with their seed) is played again headless and must give the same
// frames: frames.digest holds, per frame, a CRC-32 of the --stats line and
// the digest of the presented picture; states.txt.gz the --stats lines
// themselves (gzip -n), so that a difference reads as the state in words, old
// beside new; sounds.log the whole sound log; shots.digest a CRC-32 of each
// kept picture. After an intended change, re-record the sessions it moves by
// name (comma separated) and say in the commit why and where they first changed:
//   VELLORIA_RERECORD=level-1-1 build/tests/velloria_tests --gtest_filter='*Replays*'
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/run_helpers.h"

namespace fs = std::filesystem;

namespace {

const fs::path kReplays = fs::path(VELLORIA_SOURCE_DIR) / "tests" / "replays";
constexpr size_t kStateDigestLength = 8;  // the first word of a frames.digest line

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

// The state text goes through the system's gzip: -n leaves out the name and
// time, so the same states always give the same bytes. A missing file reads
// as no text.
std::string Gunzip(const fs::path& file) {
  if (!fs::exists(file)) return "";
  std::string text;
  if (FILE* pipe = ::popen(("gzip -dc '" + file.string() + "'").c_str(), "r")) {
    char block[4096];
    for (size_t n; (n = std::fread(block, 1, sizeof(block), pipe)) > 0;) text.append(block, n);
    ::pclose(pipe);
  }
  return text;
}

bool Gzip(const fs::path& file, const std::vector<std::string>& lines) {
  FILE* pipe = ::popen(("gzip -n -9 > '" + file.string() + "'").c_str(), "w");
  if (!pipe) return false;
  for (const std::string& line : lines) std::fprintf(pipe, "%s\n", line.c_str());
  return ::pclose(pipe) == 0;
}

// What one play of a session gave, or what was recorded of it.
struct Play {
  std::vector<std::string> frames;  // "STATE-CRC PICTURE-DIGEST" per frame
  std::vector<std::string> states;  // the --stats line per frame
  std::vector<std::string> sounds;
  std::vector<std::string> shots;  // "FRAME CRC" per kept picture
};

Play Recorded(const fs::path& folder) {
  return {Lines(ReadFile(folder / "frames.digest")), Lines(Gunzip(folder / "states.txt.gz")),
          Lines(ReadFile(folder / "sounds.log")), Lines(ReadFile(folder / "shots.digest"))};
}

// The keys whose values differ between two --stats lines: "x 297 -> 301, boss 80 -> 79".
std::string ChangedKeys(const std::string& old, const std::string& now) {
  std::istringstream oldWords(old), newWords(now);
  std::string changes;
  for (std::string a, b; oldWords >> a && newWords >> b;) {
    if (a == b) continue;
    size_t eq = a.find('=');
    changes += (changes.empty() ? "" : ", ") + a.substr(0, eq) + " " + a.substr(eq + 1) + " -> " +
               b.substr(std::min(b.find('=') + 1, b.size()));
  }
  return changes;
}

std::string StateAt(const Play& run, size_t f) {
  if (f >= run.frames.size()) return "(the run ended)";
  return f < run.states.size() ? run.states[f] : "(no state text recorded)";
}

// Every way the new run differs from the recorded one, in words; the first
// changed frame gives its state old beside new.
std::vector<std::string> Differences(const Play& old, const Play& now) {
  std::vector<std::string> found;
  if (int f = FirstDifference(old.frames, now.frames); f >= 0) {
    size_t at = static_cast<size_t>(f);
    bool sameState = at < old.frames.size() && at < now.frames.size() &&
                     old.frames[at].substr(0, kStateDigestLength) == now.frames[at].substr(0, kStateDigestLength);
    std::string text = "first frame that differs: " + std::to_string(f) +
                       (sameState ? " (the picture)" : " (the state)") + "\n  old: " + StateAt(old, at) +
                       "\n  new: " + StateAt(now, at);
    if (!sameState && at < old.states.size() && at < now.states.size())
      text += "\n  changed: " + ChangedKeys(old.states[at], now.states[at]);
    found.push_back(text);
  }
  if (int n = FirstDifference(old.sounds, now.sounds); n >= 0) {
    auto line = [n](const std::vector<std::string>& log) {
      return static_cast<size_t>(n) < log.size() ? "\"" + log[n] + "\"" : std::string("(end)");
    };
    found.push_back("the sound log differs from line " + std::to_string(n + 1) + ": old " + line(old.sounds) +
                    ", new " + line(now.sounds));
  }
  if (old.shots != now.shots) found.push_back("the kept pictures differ");
  return found;
}

std::vector<std::string> Sessions() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kReplays)) {
    if (fs::exists(entry.path() / "args")) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The sessions VELLORIA_RERECORD names, comma separated.
std::vector<std::string> RerecordNames() {
  std::vector<std::string> names;
  std::istringstream list(std::getenv("VELLORIA_RERECORD") ? std::getenv("VELLORIA_RERECORD") : "");
  for (std::string name; std::getline(list, name, ',');) names.push_back(name);
  return names;
}

void WriteLines(const fs::path& file, const std::vector<std::string>& lines) {
  std::ofstream out(file);
  for (const std::string& line : lines) out << line << "\n";
}

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

class Replays : public ::testing::TestWithParam<std::string> {};

}  // namespace

TEST_P(Replays, PlayBackFrameForFrame) {
  const auto sessions = Sessions();
  const auto rerecord = RerecordNames();
  for (const std::string& name : rerecord) {
    ASSERT_TRUE(std::count(sessions.begin(), sessions.end(), name))
        << "VELLORIA_RERECORD names no session \"" << name << "\"; it takes session names, comma separated";
  }
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

  Play now;
  now.states = Lines(ReadFile(work / "stats"));
  auto pictures = Lines(ReadFile(work / "picture-log"));
  ASSERT_EQ(now.states.size(), pictures.size());
  for (size_t i = 0; i < now.states.size(); ++i)
    now.frames.push_back(Hex(Crc32(now.states[i])) + pictures[i].substr(pictures[i].find(' ')));
  for (const std::string& f : shots) now.shots.push_back(f + " " + Hex(Crc32(ReadFile(work / (f + ".png")))));
  now.sounds = Lines(ReadFile(work / "sound-log"));

  Play old = Recorded(folder);
  auto differences = Differences(old, now);
  if (std::count(rerecord.begin(), rerecord.end(), GetParam())) {
    std::string what = differences.empty() ? "nothing changed" : "";
    if (old.frames.empty()) {
      what = "a new session of " + std::to_string(now.frames.size()) + " frames";
      differences.clear();
    }
    std::cout << GetParam() << " re-recorded: " << what << "\n";
    for (const std::string& text : differences) std::cout << "  " << text << "\n";
    WriteLines(folder / "frames.digest", now.frames);
    WriteLines(folder / "shots.digest", now.shots);
    WriteLines(folder / "sounds.log", now.sounds);
    ASSERT_TRUE(Gzip(folder / "states.txt.gz", now.states)) << "gzip could not write the state text";
    return;
  }
  // The state text must be the one the digests were taken of, or it would
  // show a wrong old state.
  ASSERT_EQ(old.states.size(), old.frames.size()) << "states.txt.gz is not of this recording: re-record the session";
  for (size_t i = 0; i < old.states.size(); ++i) {
    ASSERT_EQ(Hex(Crc32(old.states[i])), old.frames[i].substr(0, kStateDigestLength))
        << "states.txt.gz is not of this recording from frame " << i << ": re-record the session";
  }
  if (differences.empty()) return;
  std::string report;
  for (const std::string& text : differences) report += text + "\n";
  FAIL() << report << "the run's logs and pictures: " << keep.to.string()
         << "\nsee a frame F: build/velloria --headless " << args[0] << " --input " << (folder / "input.txt").string()
         << " --shot F:frame.png";
}

// The hall's verifier skips the drawing: every session must give the same
// states and sounds, frame for frame, with nothing drawn.
TEST_P(Replays, PlayTheSameWithoutThePicture) {
  fs::path folder = kReplays / GetParam();
  auto args = Lines(ReadFile(folder / "args"));
  ASSERT_FALSE(args.empty());
  TestDir work("blind-" + GetParam());
  RunResult r = RunGame("--headless --no-picture " + args[0] + " --input " + (folder / "input.txt").string() +
                            " --stats " + (work / "stats").string() + " --sound-log " + (work / "sounds").string(),
                        (work / "config").string());
  ASSERT_EQ(r.code, 0) << r.errors;
  Play old = Recorded(folder);
  auto states = Lines(ReadFile(work / "stats"));
  ASSERT_EQ(states.size(), old.states.size());
  if (int f = FirstDifference(old.states, states); f >= 0) {
    ADD_FAILURE() << "without the picture, frame " << f << " differs: " << ChangedKeys(old.states[f], states[f]);
  }
  EXPECT_EQ(Lines(ReadFile(work / "sounds")), old.sounds);
}

INSTANTIATE_TEST_SUITE_P(Sessions, Replays, ::testing::ValuesIn(Sessions()), [](const auto& session) {
  std::string name = session.param;
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
});
