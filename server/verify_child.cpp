#include "server/verify_child.h"

#include <cstdio>

#include "app/input_script.h"
#include "app/replay_run.h"
#include "app/state_check.h"

namespace {

using Kind = Verdict::Kind;

// "velloria 0.1.0 rules 3f2a..." -> "3f2a...", or empty.
std::string RulesOf(const std::string& version) {
  size_t at = version.rfind(" rules ");
  return at == std::string::npos ? std::string() : version.substr(at + 7);
}

}  // namespace

Verdict VerifyRunFile(const std::string& file, int64_t maxFrames) {
  std::string error;
  std::optional<InputScript> script = ParseInputScript(file, error);
  if (!script) return Verdict::Fail(Kind::Malformed, error);
  const std::string ours = VersionText();
  if (script->version.empty()) {
    return Verdict::Fail(Kind::Refused,
                         "the file names no version of the game (no \"version\" line); this hall is " + ours);
  }
  if (RulesOf(script->version) != RulesOf(ours)) {
    return Verdict::Fail(Kind::Refused, "recorded by " + script->version + "; this hall verifies with " + ours);
  }
  if (script->run && script->run->point.kind != StartKind::Episode) {
    return Verdict::Fail(Kind::Refused,
                         "only runs started from a title EPISODE are ranked, not practice or --start runs");
  }
  ReplayOutcome outcome = ReplayFirstRun(*script, ReplayLimits{.maxFrames = maxFrames, .draw = false});
  if (!outcome.ok) return Verdict::Fail(Kind::Refused, outcome.reason, outcome.failedFrame);
  const RunSummary& run = outcome.run;
  if (run.start.kind != StartKind::Episode) {
    return Verdict::Fail(Kind::Refused,
                         "only runs started from a title EPISODE are ranked, not practice or --start runs");
  }
  Verdict v;
  v.kind = Kind::Ranked;
  v.episode = run.start.episode;
  v.potions = run.potions;
  v.stage = run.furthestStage;
  v.level = run.furthestLevel;
  v.ending = run.endingSeen;
  v.continues = run.continuesUsed;
  v.frames = run.frames;
  v.version = script->version;
  return v;
}

int RunVerifyChild(int64_t maxFrames, size_t maxBytes) {
  std::string file;
  char buffer[4096];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) {
    file.append(buffer, n);
    if (file.size() > maxBytes) break;
  }
  Verdict verdict =
      file.size() > maxBytes ? Verdict::Fail(Kind::Malformed, "the file is too large") : VerifyRunFile(file, maxFrames);
  std::printf("%s\n", VerdictToJson(verdict).c_str());
  return 0;
}
