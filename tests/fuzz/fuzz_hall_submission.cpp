// What a client may send the hall: a body starting with '{' goes through the
// submission reader, anything else is taken as a run's file. A body is read
// or refused with a status and a reason; a file is replayed (briefly) to a
// verdict with a reason, which survives the trip through the child's line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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
  Verdict verdict = VerifyRunFile(file, kMaxFrames);
  if (verdict.kind != Verdict::Kind::Ranked && verdict.reason.empty()) __builtin_trap();
  if (verdict.kind == Verdict::Kind::Ranked && (verdict.frames <= 0 || verdict.frames > kMaxFrames)) __builtin_trap();
  Verdict back = VerdictFromJson(VerdictToJson(verdict));
  if (back.kind != verdict.kind || back.potions != verdict.potions || back.frame != verdict.frame) __builtin_trap();
  return 0;
}
