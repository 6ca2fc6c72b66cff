#include "server/verdict.h"

#include <nlohmann/json.hpp>

namespace {

constexpr const char* kKindNames[] = {"ranked", "malformed", "refused", "unavailable"};

Verdict FromObject(const nlohmann::json& j);

}  // namespace

std::string VerdictToJson(const Verdict& v) {
  nlohmann::json j = {{"kind", kKindNames[static_cast<int>(v.kind)]},
                      {"reason", v.reason},
                      {"frame", v.frame},
                      {"episode", v.episode},
                      {"potions", v.potions},
                      {"stage", v.stage},
                      {"level", v.level},
                      {"ending", v.ending},
                      {"continues", v.continues},
                      {"frames", v.frames},
                      {"version", v.version}};
  // Replacement characters for any broken UTF-8 in a reason quoting the file.
  return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

Verdict VerdictFromJson(const std::string& line) {
  nlohmann::json j = nlohmann::json::parse(line, nullptr, false);
  if (!j.is_object()) return Verdict::Fail(Verdict::Kind::Unavailable, "the verifier gave no verdict");
  // Only our own child writes these lines; a field of the wrong type means
  // it broke, which json's value() reports by throwing.
  try {
    return FromObject(j);
  } catch (const nlohmann::json::exception&) {
    return Verdict::Fail(Verdict::Kind::Unavailable, "the verifier gave a broken verdict");
  }
}

namespace {

Verdict FromObject(const nlohmann::json& j) {
  Verdict v;
  std::string kind = j.value("kind", "");
  v.kind = Verdict::Kind::Unavailable;
  for (int i = 0; i < 4; ++i) {
    if (kind == kKindNames[i]) v.kind = static_cast<Verdict::Kind>(i);
  }
  v.reason = j.value("reason", "");
  v.frame = j.value("frame", int64_t{-1});
  v.episode = j.value("episode", 0);
  v.potions = j.value("potions", 0);
  v.stage = j.value("stage", 0);
  v.level = j.value("level", 0);
  v.ending = j.value("ending", false);
  v.continues = j.value("continues", 0);
  v.frames = j.value("frames", int64_t{0});
  v.version = j.value("version", "");
  return v;
}

}  // namespace
