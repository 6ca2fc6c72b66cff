#include "server/submission.h"

#include <nlohmann/json.hpp>

#include "server/hall_name.h"

namespace {

constexpr int kBadRequest = 400;
constexpr int kTooLarge = 413;

SubmissionResult Fail(int status, std::string reason) {
  SubmissionResult r;
  r.status = status;
  r.reason = std::move(reason);
  return r;
}

}  // namespace

SubmissionResult ReadSubmission(std::string_view body, size_t maxReplayBytes) {
  nlohmann::json j = nlohmann::json::parse(body, nullptr, false);
  if (j.is_discarded() || !j.is_object()) return Fail(kBadRequest, "the body is not a JSON object");
  auto name = j.find("name");
  auto replay = j.find("replay");
  if (name == j.end() || !name->is_string()) return Fail(kBadRequest, "\"name\" is missing or not a string");
  if (replay == j.end() || !replay->is_string()) return Fail(kBadRequest, "\"replay\" is missing or not a string");
  SubmissionResult r;
  r.submission.name = name->get<std::string>();
  if (!IsHallName(r.submission.name)) {
    return Fail(kBadRequest, "a name is 1 to " + std::to_string(kHallNameLimit) +
                                 " capitals, digits, '-', '.' and spaces, as the game's name entry takes");
  }
  const std::string& text = replay->get_ref<const std::string&>();
  if (text.size() > maxReplayBytes) {
    return Fail(kTooLarge, "the replay is larger than " + std::to_string(maxReplayBytes) + " bytes");
  }
  r.submission.replay = text;
  return r;
}
