#pragma once

#include <optional>
#include <string>

// What a hall of fame said to a run sent: the HTTP status (0: no answer,
// error says why) and the body.
struct HallAnswer {
  int status = 0;
  std::string body;
  std::string error;
};

// Sends runs to a hall of fame away from the game's frames: Send returns at
// once, and the answer is taken later, once it is there.
class HallSender {
 public:
  virtual ~HallSender() = default;
  // POSTs {"name", "replay"} to url's /api/runs.
  virtual void Send(const std::string& url, const std::string& name, const std::string& replay) = 0;
  // The answer to a run sent, once; none while it is on its way.
  virtual std::optional<HallAnswer> Take() = 0;
  virtual bool Sending() const = 0;
};

// The notice for an answer: "HALL OF FAME: 3RD PLACE", or "NOT SENT: ..."
// with the reason cut to width characters.
std::string HallNotice(const HallAnswer& answer, size_t width);

// The request's body.
std::string HallRequestBody(const std::string& name, const std::string& replay);
