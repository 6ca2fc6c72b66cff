#include "app/state_check.h"

#include <cstring>

#include "app/app_block.h"
#include "app/stats_log.h"
#include "base/math_util.h"
#include "generated/rules_digest.h"

namespace {

class Fnv32 {
 public:
  void Add(const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) hash_ = (hash_ ^ bytes[i]) * kPrime;
  }
  void Add(int64_t value) { Add(&value, sizeof value); }
  uint32_t Value() const { return hash_; }

 private:
  static constexpr uint32_t kPrime = 16777619u;
  uint32_t hash_ = 2166136261u;
};

}  // namespace

uint32_t StateDigest() {
  Fnv32 digest;
  // The frame number stays out: a kept run counts from its own first frame.
  std::string line = StatsLog::Line(0);
  digest.Add(line.data(), line.size());
  const AppBlock& app = GetAppBlock();
  for (int64_t value :
       {int64_t{RandomState()}, int64_t{app.sceneState}, int64_t{app.paused}, int64_t{app.hotkeysEnabled},
        int64_t{app.frameInterval}, int64_t{app.startStage}, int64_t{app.startLevel}, int64_t{app.potionsCarried}}) {
    digest.Add(value);
  }
  for (const RankEntry& entry : app.ranking) {
    digest.Add(entry.score);
    digest.Add(entry.name, strnlen(entry.name, sizeof entry.name));
  }
  return digest.Value();
}

std::string VersionText() { return std::string("velloria ") + VELLORIA_VERSION + " rules " + VELLORIA_RULES; }

std::string DifferenceMessage(const std::string& recordedVersion, int64_t frame) {
  std::string maker = "an unnamed version";
  if (size_t rules = recordedVersion.find(" rules "); rules != std::string::npos) {
    maker = recordedVersion.substr(0, rules) + " (rules " + recordedVersion.substr(rules + 7) + ")";
  } else if (!recordedVersion.empty()) {
    maker = recordedVersion;
  }
  return "recorded by " + maker + "; this game differs from frame " + std::to_string(frame);
}
