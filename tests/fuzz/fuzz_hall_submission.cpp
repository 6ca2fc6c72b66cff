// What a client may send the hall: a body starting with '{' goes through the
// submission reader, anything else is taken as a run's file. A body is read
// or refused with a status and a reason; a file is replayed (briefly) to a
// verdict with a reason, which survives the trip through the child's line.
// A file starting "version current" is taken as made by this build.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/state_check.h"
#include "server/hall_name.h"
#include "server/submission.h"
#include "server/verdict.h"
#include "server/verify_child.h"

namespace {

constexpr size_t kMaxReplayBytes = 1 << 20;
constexpr int64_t kMaxFrames = 3000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string file(bytes);
  if (bytes.starts_with('{')) {
    SubmissionResult read = ReadSubmission(bytes, kMaxReplayBytes);
    if (read.status) {
      if ((read.status != 400 && read.status != 413) || read.reason.empty()) __builtin_trap();
      return 0;
    }
    if (!IsHallName(read.submission.name)) __builtin_trap();
    file = read.submission.replay;
  }
  // The rules' digest changes with every build: "version current" stands for
  // this build's, so that the corpus's runs reach the replay.
  constexpr std::string_view kCurrent = "version current\n";
  if (std::string_view(file).starts_with(kCurrent)) {
    file.replace(0, kCurrent.size(), "version " + VersionText() + "\n");
  }
  Verdict verdict = VerifyRunFile(file, kMaxFrames);
  if (verdict.kind != Verdict::Kind::Ranked && verdict.reason.empty()) __builtin_trap();
  if (verdict.kind == Verdict::Kind::Ranked && (verdict.frames <= 0 || verdict.frames > kMaxFrames)) __builtin_trap();
  Verdict back = VerdictFromJson(VerdictToJson(verdict));
  if (back.kind != verdict.kind || back.potions != verdict.potions || back.frame != verdict.frame) __builtin_trap();
  return 0;
}
