#include "platform/net/http_hall_sender.h"

#include <httplib.h>

#include <mutex>
#include <thread>

namespace {

constexpr time_t kConnectSeconds = 10;
// The hall replays the run before it answers.
constexpr time_t kAnswerSeconds = 120;

std::string Why(httplib::Error error) {
  switch (error) {
    case httplib::Error::Connection:
      return "the hall cannot be reached";
    case httplib::Error::SSLConnection:
    case httplib::Error::SSLServerVerification:
      return "the hall's certificate does not check";
    case httplib::Error::Read:
    case httplib::Error::Write:
      return "the connection broke";
    default:
      return httplib::to_string(error);
  }
}

class HttpHallSender : public HallSender {
 public:
  ~HttpHallSender() override {
    if (worker_.joinable()) worker_.join();
  }

  void Send(const std::string& url, const std::string& name, const std::string& replay) override {
    if (worker_.joinable()) worker_.join();
    sending_ = true;
    worker_ = std::thread([this, url, body = HallRequestBody(name, replay)] {
      HallAnswer answer = Post(url, body);
      std::lock_guard lock(mutex_);
      answer_ = std::move(answer);
    });
  }

  std::optional<HallAnswer> Take() override {
    std::lock_guard lock(mutex_);
    std::optional<HallAnswer> answer = std::move(answer_);
    answer_.reset();
    if (answer) sending_ = false;
    return answer;
  }

  bool Sending() const override { return sending_; }

 private:
  static HallAnswer Post(std::string url, const std::string& body) {
    while (!url.empty() && url.back() == '/') url.pop_back();
    HallAnswer answer;
    try {
      httplib::Client client(url);
      client.enable_server_certificate_verification(true);
      client.set_connection_timeout(kConnectSeconds);
      client.set_read_timeout(kAnswerSeconds);
      client.set_write_timeout(kAnswerSeconds);
      httplib::Result result = client.Post("/api/runs", body, "application/json");
      if (!result) {
        answer.error = Why(result.error());
        return answer;
      }
      answer.status = result->status;
      answer.body = result->body;
    } catch (const std::exception& e) {
      answer.error = e.what();
    }
    return answer;
  }

  std::thread worker_;
  std::mutex mutex_;
  std::optional<HallAnswer> answer_;
  bool sending_ = false;
};

}  // namespace

std::unique_ptr<HallSender> CreateHttpHallSender() { return std::make_unique<HttpHallSender>(); }
