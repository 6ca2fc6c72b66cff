#include "platform/web/web_hall_sender.h"

#include <emscripten.h>

#include <cstdlib>
#include <deque>

namespace {

// The hall replays the run before it answers.
constexpr int kAnswerMs = 120000;

// The answers that came, by request, wait in the page until taken: the
// status (0: none came) and the text of the body or of why none came.
// clang-format off
EM_JS(void, HallPost, (int id, const char* url, const char* body, int answerMs), {
  const answers = Module.velloriaHallAnswers || (Module.velloriaHallAnswers = new Map());
  const signal = AbortSignal.timeout ? AbortSignal.timeout(answerMs) : undefined;
  fetch(UTF8ToString(url), {method: 'POST', headers: {'Content-Type': 'application/json'},
                            body: UTF8ToString(body), credentials: 'omit', cache: 'no-store', signal})
      .then(response => response.text().then(text => ({status: response.status, text})))
      .catch(error => ({status: 0, text: error && error.name === 'TimeoutError' ? 'the hall did not answer'
                                                                               : 'the hall cannot be reached'}))
      .then(answer => answers.set(id, answer));
});

// -1 while on its way; else the status, with *text a malloc'd copy of the
// body (or the reason none came) and *length its length in bytes.
EM_JS(int, HallTakeAnswer, (int id, char** text, int* length), {
  const answers = Module.velloriaHallAnswers;
  const answer = answers && answers.get(id);
  if (!answer) return -1;
  answers.delete(id);
  const bytes = new TextEncoder().encode(answer.text);
  const copy = _malloc(bytes.length + 1);
  HEAPU8.set(bytes, copy);
  HEAPU32[text >> 2] = copy;
  HEAP32[length >> 2] = bytes.length;
  return answer.status;
});
// clang-format on

class WebHallSender : public HallSender {
 public:
  void Send(const std::string& url, const std::string& name, const std::string& replay) override {
    std::string base = url;
    while (!base.empty() && base.back() == '/') base.pop_back();
    int id = ++lastId_;
    HallPost(id, (base + "/api/runs").c_str(), HallRequestBody(name, replay).c_str(), kAnswerMs);
    pending_.push_back(id);
  }

  // Answers in the order the runs were sent.
  std::optional<HallAnswer> Take() override {
    if (pending_.empty()) return std::nullopt;
    char* text = nullptr;
    int length = 0;
    int status = HallTakeAnswer(pending_.front(), &text, &length);
    if (status < 0) return std::nullopt;
    pending_.pop_front();
    HallAnswer answer;
    answer.status = status;
    (status == 0 ? answer.error : answer.body).assign(text, static_cast<size_t>(length));
    std::free(text);
    return answer;
  }

  bool Sending() const override { return !pending_.empty(); }

 private:
  int lastId_ = 0;
  std::deque<int> pending_;
};

}  // namespace

std::unique_ptr<HallSender> CreateWebHallSender() { return std::make_unique<WebHallSender>(); }
