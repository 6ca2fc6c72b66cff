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
#include <sstream>

#include "tests/hall/hall_process.h"
#include "tests/run_helpers.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

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
  // Reading is not a submission, nor is a page from elsewhere asking first;
  // such a page may read every answer.
  EXPECT_EQ(client.Get("/api/runs")->status, 200);
  auto asked = client.Options("/api/runs", {{"Origin", "https://elsewhere.example"}});
  ASSERT_TRUE(asked);
  EXPECT_EQ(asked->status, 204);
  EXPECT_EQ(asked->get_header_value("Access-Control-Allow-Headers"), "Content-Type");
  EXPECT_EQ(client.Post("/api/runs", "{", "application/json")->get_header_value("Access-Control-Allow-Origin"), "*");
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

namespace {

// A run played by the soak's random keys from launch, recorded whole and
// kept alone, with what the live game's index says it scored.
struct PlayedRun {
  std::string session;  // the --record file, from launch
  std::string kept;     // the first run kept alone
  std::string start, potions, furthest;
};

PlayedRun PlayARun(const TestDir& dir, const std::string& options) {
  RunResult r = RunGame("--headless " + options + " --record " + (dir / "session.txt").string() + " --keep-runs " +
                        (dir / "kept").string());
  EXPECT_EQ(r.code, 0) << r.errors;
  PlayedRun run;
  run.session = ReadFile(dir / "session.txt");
  // "file date start potions furthest frames continues flags ...", oldest first.
  std::istringstream index(ReadFile(dir / "kept" / "index.txt"));
  for (std::string line; std::getline(index, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string file, date;
    words >> file >> date >> run.start >> run.potions >> run.furthest;
    run.kept = ReadFile(dir / "kept" / file);
    break;
  }
  return run;
}

// A session that starts EPISODE 1 and steers once: Enter through the logo
// and the title, then Right held for 20 frames while the level is played,
// recorded with its checks.
std::string SteeredSession(const TestDir& dir) {
  std::ofstream input(dir / "steer.txt");
  input << "seed 5\n";
  for (int frame = 30; frame < 400; frame += 50) input << frame << " +RETURN\n" << frame + 2 << " -RETURN\n";
  input << "420 +RIGHT\n440 -RIGHT\n";
  input.close();
  RunResult r = RunGame("--headless --frames 1200 --input " + (dir / "steer.txt").string() + " --record " +
                        (dir / "steered.txt").string());
  EXPECT_EQ(r.code, 0) << r.errors;
  return ReadFile(dir / "steered.txt");
}

// The file with its Right press moved 10 frames later.
std::string MoveTheRightPress(const std::string& file, int64_t& movedFrame) {
  std::string text;
  for (const std::string& line : Lines(file)) {
    if (line.ends_with(" +RIGHT")) {
      movedFrame = std::atoll(line.c_str()) + 10;
      text += std::to_string(movedFrame) + " +RIGHT\n";
    } else {
      text += line + "\n";
    }
  }
  EXPECT_GT(movedFrame, 0) << "no Right press in the file";
  return text;
}

}  // namespace

TEST(HallServer, RanksWhatTheInputsReallyScore) {
  TestDir dir("hall-rank");
  PlayedRun played = PlayARun(dir, "--soak 6 --frames 7000");
  ASSERT_FALSE(played.kept.empty());
  ASSERT_TRUE(played.start.starts_with("episode-")) << played.start;
  const int episode = std::atoi(played.start.c_str() + 8);
  HallProcess hall({"--db", (dir / "hall.db").string(), "--rate", "1000", "--burst", "1000", "--workers", "2"});
  ASSERT_GT(hall.Port(), 0);
  httplib::Client client("127.0.0.1", hall.Port());

  auto kept = client.Post("/api/runs", Body("SOAK 6", played.kept), "application/json");
  ASSERT_TRUE(kept);
  ASSERT_EQ(kept->status, 201) << kept->body;
  json answer = json::parse(kept->body);
  EXPECT_EQ(answer["potions"], std::atoi(played.potions.c_str()));
  EXPECT_EQ(answer["reached"], played.furthest);
  EXPECT_EQ(answer["place"], 1);
  // The same file again is the same run; the whole session is another file
  // of the same run, ranked the same, below the first.
  auto again = client.Post("/api/runs", Body("OTHER NAME", played.kept), "application/json");
  EXPECT_EQ(again->status, 200);
  EXPECT_EQ(json::parse(again->body)["id"], answer["id"]);
  auto session = client.Post("/api/runs", Body("SESSION", played.session), "application/json");
  ASSERT_EQ(session->status, 201) << session->body;
  EXPECT_EQ(json::parse(session->body)["potions"], answer["potions"]);
  EXPECT_EQ(json::parse(session->body)["place"], 2);

  json list = json::parse(client.Get("/api/runs?episode=" + std::to_string(episode))->body);
  ASSERT_EQ(list["runs"].size(), 2u);
  EXPECT_EQ(list["runs"][0]["name"], "SOAK 6");
  EXPECT_EQ(list["runs"][1]["name"], "SESSION");
  std::string id = std::to_string(answer["id"].get<int64_t>());
  EXPECT_EQ(client.Get("/api/runs/" + id + "/replay")->body, played.kept);
  EXPECT_EQ(json::parse(client.Get("/api/runs/" + id)->body)["name"], "SOAK 6");

  std::string steered = SteeredSession(dir);
  auto straight = client.Post("/api/runs", Body("STEERED", steered), "application/json");
  EXPECT_EQ(straight->status, 201) << straight->body;
  int64_t moved = 0;
  auto altered = client.Post("/api/runs", Body("CHEAT", MoveTheRightPress(steered, moved)), "application/json");
  ASSERT_EQ(altered->status, 422) << altered->body;
  json refusal = json::parse(altered->body);
  EXPECT_GE(refusal["frame"].get<int64_t>(), moved) << refusal["error"];

  std::string otherRules = played.kept;
  otherRules.replace(otherRules.find(" rules ") + 7, 4, "zzzz");
  auto rules = client.Post("/api/runs", Body("OLD", otherRules), "application/json");
  EXPECT_EQ(rules->status, 422);
  std::string why = json::parse(rules->body)["error"];
  EXPECT_NE(why.find(otherRules.substr(8, otherRules.find('\n') - 8)), std::string::npos) << why;
  EXPECT_NE(why.find(played.kept.substr(8, played.kept.find('\n') - 8)), std::string::npos) << why;

  auto broken = client.Post("/api/runs", Body("BROKEN", "seed 1\n12 +NOKEY\n"), "application/json");
  EXPECT_EQ(broken->status, 400);
  EXPECT_NE(broken->body.find("line 2"), std::string::npos) << broken->body;

  // --hide on the same file while the hall runs: off the lists, still kept.
  std::string hide = std::string(VELLORIA_HALL_EXE) + " --db '" + (dir / "hall.db").string() + "' --hide " + id;
  ASSERT_EQ(std::system((hide + " >/dev/null").c_str()), 0);
  EXPECT_EQ(client.Get("/api/runs/" + id)->status, 404);
  list = json::parse(client.Get("/api/runs?episode=" + std::to_string(episode))->body);
  ASSERT_EQ(list["runs"].size(), 1u);
  EXPECT_EQ(list["runs"][0]["place"], 1);
  EXPECT_NE(std::system((hide.substr(0, hide.size() - id.size()) + "999999 2>/dev/null").c_str()), 0);
}

TEST(HallServer, RanksOnlyRunsStartedFromATitleEpisode) {
  TestDir dir("hall-practice");
  PlayedRun played = PlayARun(dir, "--start 1-2 --soak 3 --frames 4000");
  ASSERT_FALSE(played.kept.empty());
  HallProcess hall({"--db", (dir / "hall.db").string()});
  ASSERT_GT(hall.Port(), 0);
  httplib::Client client("127.0.0.1", hall.Port());
  auto kept = client.Post("/api/runs", Body("START", played.kept), "application/json");
  EXPECT_EQ(kept->status, 422) << kept->body;
  EXPECT_NE(kept->body.find("EPISODE"), std::string::npos) << kept->body;
  // A session recorded from --start does not say so: played from launch, it
  // parts from its own checks.
  auto session = client.Post("/api/runs", Body("START", played.session), "application/json");
  EXPECT_EQ(session->status, 422) << session->body;
  EXPECT_EQ(json::parse(session->body)["frame"], 250) << session->body;
}

// Against the throwaway cluster of tests/hall/with_postgres.sh: a run sent to
// one instance is the same run at the other.
TEST(HallServer, TwoInstancesOnPostgresAgree) {
  const char* conninfo = std::getenv("VELLORIA_TEST_POSTGRES");
  if (!conninfo) GTEST_SKIP() << "no PostgreSQL cluster (run through tests/hall/with_postgres.sh)";
  TestDir dir("hall-postgres");
  PlayedRun played = PlayARun(dir, "--soak 5 --frames 2000");
  ASSERT_FALSE(played.kept.empty());
  HallProcess one({"--postgres", conninfo});
  HallProcess two({"--postgres", conninfo});
  ASSERT_GT(one.Port(), 0);
  ASSERT_GT(two.Port(), 0);
  httplib::Client first("127.0.0.1", one.Port());
  httplib::Client second("127.0.0.1", two.Port());
  auto sent = first.Post("/api/runs", Body("TWO", played.kept), "application/json");
  ASSERT_EQ(sent->status, 201) << sent->body;
  auto again = second.Post("/api/runs", Body("TWO", played.kept), "application/json");
  ASSERT_EQ(again->status, 200) << again->body;
  EXPECT_EQ(json::parse(again->body)["id"], json::parse(sent->body)["id"]);
  json list = json::parse(second.Get("/api/runs?episode=" + played.start.substr(8))->body);
  ASSERT_EQ(list["runs"].size(), 1u);
  EXPECT_EQ(list["runs"][0]["potions"], json::parse(sent->body)["potions"]);
}
