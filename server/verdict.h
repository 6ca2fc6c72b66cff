#pragma once

#include <cstdint>
#include <string>

// What replaying a submitted run found: a ranked result, or why not.
struct Verdict {
  enum class Kind {
    Ranked,      // the run replayed to its end
    Malformed,   // the file cannot be read (400, with its line)
    Refused,     // read, but not a run the hall ranks (422, with the frame when there is one)
    Unavailable  // the verifier itself failed (503)
  };
  Kind kind = Kind::Unavailable;
  std::string reason;
  int64_t frame = -1;  // where a replay parted or stopped; -1: not at a frame
  // The ranked run's result.
  int episode = 0;
  int32_t potions = 0;
  int stage = 0;
  int level = 0;
  bool ending = false;
  int continues = 0;
  int64_t frames = 0;
  std::string version;  // the version line's program version

  static Verdict Fail(Kind kind, std::string reason, int64_t frame = -1) {
    Verdict v;
    v.kind = kind;
    v.reason = std::move(reason);
    v.frame = frame;
    return v;
  }
};

// Replays a submitted file and says what it scored. Implementations may be
// called from several threads at once.
class RunVerifier {
 public:
  virtual ~RunVerifier() = default;
  virtual Verdict Verify(const std::string& file) = 0;
};

// The verdict as one line of JSON and back: a verifying child process
// hands it to the server this way.
std::string VerdictToJson(const Verdict& verdict);
Verdict VerdictFromJson(const std::string& line);
