// velloria-hall on a loopback port with a scratch SQLite file: what it
// refuses, what it serves, and how it ranks.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "tests/hall/hall_process.h"
#include "tests/run_helpers.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

std::string Body(const std::string& name, const std::string& replay) {
  return json{{"name", name}, {"replay", replay}}.dump();
}

// A request sent byte for byte as written (no client tidies its path);
// returns the status line and what follows.
std::string RawGet(int port, const std::string& path) {
  int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(static_cast<uint16_t>(port));
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  if (connect(s, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0) {
    std::string request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    send(s, request.data(), request.size(), 0);
    char buffer[4096];
    for (ssize_t n; (n = recv(s, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, static_cast<size_t>(n));
  }
  close(s);
  return answer;
}

}  // namespace

TEST(HallServer, RefusesMalformedTooLargeAndBadlyNamedRuns) {
  TestDir dir("hall-refuse");
  HallProcess hall({"--db", (dir / "hall.db").string(), "--rate", "1000", "--burst", "1000"});
  ASSERT_GT(hall.Port(), 0);
  httplib::Client client("127.0.0.1", hall.Port());
  const struct {
    std::string body;
    int status;
  } cases[] = {
      {"not json", 400},
      {json{{"name", "ABC"}}.dump(), 400},
      {json{{"name", "ABC"}, {"replay", 7}}.dump(), 400},
      {Body("", "seed 1\n"), 400},
      {Body("   ", "seed 1\n"), 400},
      {Body("lower", "seed 1\n"), 400},
      {Body("SIXTEEN-LETTERS.", "seed 1\n"), 400},
      {Body("<SCRIPT>", "seed 1\n"), 400},
      {Body("ÉLODIE", "seed 1\n"), 400},
      {Body("ABC", std::string(2 << 20, '1')), 413},
      {std::string(20 << 20, ' '), 413},
  };
  for (const auto& c : cases) {
    auto res = client.Post("/api/runs", c.body, "application/json");
    ASSERT_TRUE(res) << c.body.substr(0, 40);
    EXPECT_EQ(res->status, c.status) << c.body.substr(0, 40) << " -> " << res->body;
  }
  EXPECT_EQ(client.Get("/api/runs?episode=0")->status, 400);
  EXPECT_EQ(client.Get("/api/runs?limit=1000")->status, 400);
  EXPECT_EQ(client.Get("/api/runs/12345")->status, 404);
  EXPECT_EQ(json::parse(client.Get("/api/runs?episode=1")->body)["runs"].size(), 0u);
  EXPECT_EQ(WEXITSTATUS(hall.Stop()), 0);
}

TEST(HallServer, AnswersABurstFromOneAddressWith429) {
  TestDir dir("hall-burst");
  HallProcess hall({"--db", (dir / "hall.db").string(), "--rate", "1", "--burst", "3"});
  ASSERT_GT(hall.Port(), 0);
  httplib::Client client("127.0.0.1", hall.Port());
  std::vector<int> statuses;
  std::string retryAfter;
  for (int i = 0; i < 5; ++i) {
    // Malformed ones count as well.
    auto res = client.Post("/api/runs", "{", "application/json");
    ASSERT_TRUE(res);
    statuses.push_back(res->status);
    if (res->status == 429) retryAfter = res->get_header_value("Retry-After");
  }
  EXPECT_EQ(statuses, (std::vector<int>{400, 400, 400, 429, 429}));
  EXPECT_GE(std::atoi(retryAfter.c_str()), 1);
  // Reading is not a submission.
  EXPECT_EQ(client.Get("/api/runs")->status, 200);
}

TEST(HallServer, ServesFilesOnlyFromInsideItsFolders) {
  TestDir dir("hall-site");
  fs::create_directories(dir / "site" / "sub");
  fs::create_directories(dir / "page");
  std::ofstream(dir / "site" / "index.html") << "the game";
  std::ofstream(dir / "site" / "sub" / "a.js") << "let a;";
  std::ofstream(dir / "site" / ".hidden") << "hidden";
  std::ofstream(dir / "page" / "index.html") << "the hall";
  std::ofstream(dir / "secret.txt") << "secret";
  fs::create_symlink(dir / "secret.txt", dir / "site" / "link.txt");
  HallProcess hall(
      {"--db", (dir / "hall.db").string(), "--site", (dir / "site").string(), "--page", (dir / "page").string()});
  const struct {
    std::string path;
    std::string status;
    std::string body;
  } cases[] = {
      {"/", "200", "the hall"},
      {"/play/", "200", "the game"},
      {"/play/sub/a.js", "200", "let a;"},
      {"/play", "301", ""},
      {"/play/../secret.txt", "404", ""},
      {"/play/%2e%2e/secret.txt", "404", ""},
      {"/play/..%2fsecret.txt", "404", ""},
      {"/play/sub/..%5c..%5csecret.txt", "404", ""},
      {"/play/%2E%2E/%2E%2E/%2E%2E/etc/passwd", "404", ""},
      {"/../../etc/passwd", "404", ""},
      {"/play/link.txt", "404", ""},
      {"/play/.hidden", "404", ""},
      {"/play/index.html%00.js", "404", ""},
  };
  for (const auto& c : cases) {
    std::string answer = RawGet(hall.Port(), c.path);
    EXPECT_EQ(answer.substr(9, 3), c.status) << c.path;
    EXPECT_EQ(answer.find("secret"), std::string::npos) << c.path;
    EXPECT_EQ(answer.find("root:"), std::string::npos) << c.path;
    if (!c.body.empty()) {
      EXPECT_TRUE(answer.ends_with("\r\n\r\n" + c.body)) << c.path;
    }
  }
  std::string page = RawGet(hall.Port(), "/");
  for (const char* header : {"Content-Security-Policy:", "X-Content-Type-Options: nosniff", "X-Frame-Options:"})
    EXPECT_NE(page.find(header), std::string::npos) << header;
  EXPECT_NE(RawGet(hall.Port(), "/play/sub/a.js").find("Content-Type: text/javascript"), std::string::npos);
}
