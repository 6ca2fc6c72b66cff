#include "server/hall_server.h"

#include <httplib.h>

#include <charconv>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "server/file_digest.h"
#include "server/font_png.h"
#include "server/run_store.h"
#include "server/submission.h"
#include "server/verify_queue.h"

namespace {

using nlohmann::json;

constexpr int kOk = 200;
constexpr int kCreated = 201;
constexpr int kNoContent = 204;
constexpr int kMovedPermanently = 301;
constexpr int kBadRequest = 400;
constexpr int kNotFound = 404;
constexpr int kUnprocessable = 422;
constexpr int kTooMany = 429;
constexpr int kUnavailable = 503;

constexpr int kDefaultListLimit = 8;
constexpr int kMaxListLimit = 100;
constexpr int kMaxListOffset = 1000000;
constexpr int kMaxEpisode = 3;  // the title's EPISODE items
constexpr int kKeepAliveSeconds = 5;
constexpr int kKeepAliveRequests = 100;

// The pages may load only what their own server serves; the game's program
// is WebAssembly, compiled by the browser.
constexpr const char* kPagePolicy =
    "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self' 'unsafe-inline'; "
    "img-src 'self' data: blob:; media-src 'self' blob:; connect-src 'self'; worker-src 'self'; "
    "object-src 'none'; base-uri 'self'; frame-ancestors 'self'";

// The API is public and takes no credentials: a game page served from
// anywhere may list runs and send its own (the rate and the checks are the
// same for every page).
void AllowAnyPage(httplib::Response& res) { res.set_header("Access-Control-Allow-Origin", "*"); }

void Answer(httplib::Response& res, int status, const json& body) {
  AllowAnyPage(res);
  res.status = status;
  res.set_content(body.dump(-1, ' ', false, json::error_handler_t::replace), "application/json");
}

void Refuse(httplib::Response& res, int status, const std::string& reason) { Answer(res, status, {{"error", reason}}); }

void RetryLater(httplib::Response& res, int status, int seconds, const std::string& reason) {
  res.set_header("Retry-After", std::to_string(seconds));
  Refuse(res, status, reason);
}

std::string Reached(const HallRun& run) { return std::to_string(run.stage) + "-" + std::to_string(run.level); }

json RunJson(const HallRun& run, int place) {
  return {
      {"id", run.id},           {"place", place},          {"name", run.name},          {"episode", run.episode},
      {"potions", run.potions}, {"reached", Reached(run)}, {"ending", run.ending},      {"continues", run.continues},
      {"frames", run.frames},   {"version", run.version},  {"submitted", run.submitted}};
}

// A whole decimal number in [low, high] from a query parameter, or fallback
// when it is absent; nothing when it is there but not such a number.
std::optional<int> Parameter(const httplib::Request& req, const char* key, int fallback, int low, int high) {
  if (!req.has_param(key)) return fallback;
  std::string text = req.get_param_value(key);
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high) return std::nullopt;
  return value;
}

std::optional<int64_t> IdOf(const httplib::Request& req) {
  const std::string text = req.matches[1];
  int64_t id = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), id);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return id;
}

bool IsSubmission(const httplib::Request& req) { return req.method == "POST" && req.path == "/api/runs"; }

}  // namespace

HallServer::HallServer(HallConfig config, RunStore& store, VerifyQueue& queue)
    : config_(std::move(config)),
      store_(store),
      queue_(queue),
      site_(config_.site),
      page_(config_.page),
      submits_(config_.submitsPerMinute, config_.submitBurst),
      http_(std::make_unique<httplib::Server>()) {
  const int threads = config_.httpThreads;
  // The library owns the pool it is handed and deletes it when it stops.
  http_->new_task_queue = [threads] { return std::make_unique<httplib::ThreadPool>(threads).release(); };
  http_->set_payload_max_length(config_.maxBodyBytes);
  http_->set_read_timeout(config_.ioTimeoutSeconds, 0);
  http_->set_write_timeout(config_.ioTimeoutSeconds, 0);
  http_->set_keep_alive_timeout(kKeepAliveSeconds);
  http_->set_keep_alive_max_count(kKeepAliveRequests);
  http_->set_default_headers({{"X-Content-Type-Options", "nosniff"},
                              {"Referrer-Policy", "no-referrer"},
                              {"X-Frame-Options", "SAMEORIGIN"},
                              {"Cross-Origin-Opener-Policy", "same-origin"},
                              {"Content-Security-Policy", kPagePolicy}});
  Routes();
}

HallServer::~HallServer() = default;

bool HallServer::Bind(const std::string& listen, std::string& error) {
  size_t colon = listen.rfind(':');
  if (colon == std::string::npos) {
    error = "--listen takes HOST:PORT, not \"" + listen + "\"";
    return false;
  }
  std::string host = listen.substr(0, colon);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  int port = 0;
  std::string portText = listen.substr(colon + 1);
  auto [end, ec] = std::from_chars(portText.data(), portText.data() + portText.size(), port);
  if (ec != std::errc() || end != portText.data() + portText.size() || port < 0 || port > 65535) {
    error = "--listen: \"" + portText + "\" is no port";
    return false;
  }
  if (port == 0) {
    port_ = http_->bind_to_any_port(host);
    if (port_ < 0) port_ = 0;
  } else if (http_->bind_to_port(host, port)) {
    port_ = port;
  }
  if (port_ == 0) {
    error = "cannot listen on " + listen;
    return false;
  }
  return true;
}

void HallServer::Run() { http_->listen_after_bind(); }

void HallServer::Stop() { http_->stop(); }

void HallServer::Routes() {
  // Every submission counts against its address, well-formed or not, and
  // before its body is read.
  http_->set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    if (!IsSubmission(req)) return httplib::Server::HandlerResponse::Unhandled;
    if (int wait = submits_.Take(req.remote_addr)) {
      res.set_header("Connection", "close");
      RetryLater(res, kTooMany, wait, "too many runs sent from this address; try again later");
      return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });
  http_->Post("/api/runs", [this](const httplib::Request& req, httplib::Response& res) { Submit(req, res); });
  http_->Get("/api/runs", [this](const httplib::Request& req, httplib::Response& res) { ListRuns(req, res); });
  http_->Get(R"(/api/runs/(\d{1,18}))",
             [this](const httplib::Request& req, httplib::Response& res) { OneRun(req, res); });
  http_->Get(R"(/api/runs/(\d{1,18})/replay)",
             [this](const httplib::Request& req, httplib::Response& res) { RunFile(req, res); });
  http_->Get("/api/.*",
             [](const httplib::Request&, httplib::Response& res) { Refuse(res, kNotFound, "no such thing"); });
  // A page from another server asks before it sends JSON.
  http_->Options("/api/.*", [](const httplib::Request&, httplib::Response& res) {
    AllowAnyPage(res);
    res.status = kNoContent;
    res.set_header("Access-Control-Allow-Methods", "GET, POST");
    res.set_header("Access-Control-Allow-Headers", "Content-Type");
    res.set_header("Access-Control-Max-Age", "86400");
  });
  // The game's font, for the hall's page to write in.
  http_->Get("/font.png", [font = FontPng()](const httplib::Request&, httplib::Response& res) {
    res.set_header("Cache-Control", "max-age=86400");
    res.set_content(font, "image/png");
  });
  http_->Get("/play", [](const httplib::Request&, httplib::Response& res) {
    res.status = kMovedPermanently;
    res.set_header("Location", "/play/");
  });
  http_->Get("/play/(.*)",
             [this](const httplib::Request& req, httplib::Response& res) { ServeFile(site_, req.matches[1], res); });
  http_->Get("/(.*)",
             [this](const httplib::Request& req, httplib::Response& res) { ServeFile(page_, req.matches[1], res); });
}

void HallServer::ServeFile(const SiteFiles& files, const std::string& relative, httplib::Response& res) {
  std::optional<std::filesystem::path> file = files.Find(relative);
  std::ifstream in;
  if (file) in.open(*file, std::ios::binary);
  if (!file || !in.is_open()) {
    res.status = kNotFound;
    res.set_content("Not found\n", "text/plain; charset=utf-8");
    return;
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  res.set_header("Cache-Control", "no-cache");
  res.set_content(bytes.str(), ContentTypeOf(*file));
}

void HallServer::WaitForSubmissions() {
  std::unique_lock hold(answeringLock_);
  answered_.wait(hold, [this] { return answering_ == 0; });
}

void HallServer::Submit(const httplib::Request& req, httplib::Response& res) {
  {
    std::lock_guard hold(answeringLock_);
    ++answering_;
  }
  struct Done {
    HallServer& server;
    ~Done() {
      std::lock_guard hold(server.answeringLock_);
      --server.answering_;
      server.answered_.notify_all();
    }
  } done{*this};
  if (stopping_) return RetryLater(res, kUnavailable, config_.retryAfterSeconds, "the hall is stopping");
  SubmissionResult read = ReadSubmission(req.body, config_.maxReplayBytes);
  if (read.status) return Refuse(res, read.status, read.reason);
  const Submission& sent = read.submission;
  std::string digest = FileDigest(sent.replay);

  auto answerKept = [&](int64_t id, int status) {
    std::optional<HallRun> run = store_.Get(id);
    std::optional<int> place = run ? store_.Place(*run) : std::nullopt;
    if (!run || !place) return RetryLater(res, kUnavailable, config_.retryAfterSeconds, "the store is unavailable");
    json body = {{"id", run->id},
                 {"potions", run->potions},
                 {"reached", Reached(*run)},
                 {"ending", run->ending},
                 {"place", run->hidden ? json() : json(*place)},
                 {"episode", run->episode},
                 {"frames", run->frames}};
    Answer(res, status, body);
  };
  if (std::optional<int64_t> id = store_.FindByDigest(digest)) return answerKept(*id, kOk);

  std::optional<std::future<Verdict>> pending = queue_.Submit(sent.replay);
  if (!pending) {
    return RetryLater(res, kUnavailable, config_.retryAfterSeconds, "every verifier is busy; try again later");
  }
  Verdict verdict = pending->get();
  switch (verdict.kind) {
    case Verdict::Kind::Malformed:
      return Refuse(res, kBadRequest, verdict.reason);
    case Verdict::Kind::Refused: {
      json body = {{"error", verdict.reason}};
      if (verdict.frame >= 0) body["frame"] = verdict.frame;
      return Answer(res, kUnprocessable, body);
    }
    case Verdict::Kind::Unavailable:
      return RetryLater(res, kUnavailable, config_.retryAfterSeconds, verdict.reason);
    case Verdict::Kind::Ranked:
      break;
  }
  HallRun run;
  run.name = sent.name;
  run.episode = verdict.episode;
  run.potions = verdict.potions;
  run.stage = verdict.stage;
  run.level = verdict.level;
  run.ending = verdict.ending;
  run.continues = verdict.continues;
  run.frames = verdict.frames;
  run.version = verdict.version;
  run.submitted = UtcNow();
  std::optional<StoredRun> stored = store_.Insert(run, digest, sent.replay);
  if (!stored) return RetryLater(res, kUnavailable, config_.retryAfterSeconds, "the store is unavailable");
  answerKept(stored->id, stored->existed ? kOk : kCreated);
}

void HallServer::ListRuns(const httplib::Request& req, httplib::Response& res) {
  std::optional<int> episode = Parameter(req, "episode", 1, 1, kMaxEpisode);
  std::optional<int> limit = Parameter(req, "limit", kDefaultListLimit, 1, kMaxListLimit);
  std::optional<int> offset = Parameter(req, "offset", 0, 0, kMaxListOffset);
  if (!episode || !limit || !offset) {
    return Refuse(res, kBadRequest,
                  "episode is 1 to " + std::to_string(kMaxEpisode) + ", limit 1 to " + std::to_string(kMaxListLimit) +
                      ", offset 0 or more");
  }
  std::optional<std::vector<HallRun>> runs = store_.List(*episode, *limit, *offset);
  if (!runs) return RetryLater(res, kUnavailable, config_.retryAfterSeconds, "the store is unavailable");
  json rows = json::array();
  int place = *offset;
  for (const HallRun& run : *runs) rows.push_back(RunJson(run, ++place));
  Answer(res, kOk, {{"episode", *episode}, {"offset", *offset}, {"runs", rows}});
}

void HallServer::OneRun(const httplib::Request& req, httplib::Response& res) {
  std::optional<int64_t> id = IdOf(req);
  std::optional<HallRun> run = id ? store_.Get(*id) : std::nullopt;
  if (!run || run->hidden) return Refuse(res, kNotFound, "no such run");
  std::optional<int> place = store_.Place(*run);
  if (!place) return RetryLater(res, kUnavailable, config_.retryAfterSeconds, "the store is unavailable");
  Answer(res, kOk, RunJson(*run, *place));
}

void HallServer::RunFile(const httplib::Request& req, httplib::Response& res) {
  std::optional<int64_t> id = IdOf(req);
  std::optional<HallRun> run = id ? store_.Get(*id) : std::nullopt;
  std::optional<std::string> file = run && !run->hidden ? store_.File(*id) : std::nullopt;
  if (!file) return Refuse(res, kNotFound, "no such run");
  AllowAnyPage(res);
  res.set_header("Content-Disposition", "attachment; filename=\"velloria-hall-" + std::to_string(*id) + ".txt\"");
  res.set_content(*file, "text/plain; charset=utf-8");
}
