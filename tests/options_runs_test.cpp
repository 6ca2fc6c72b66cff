// REPLAYS and PRACTICE in the options, played through the shell: sessions
// one after another as the player asks for them, and what the list does
// with the kept runs' folder.
#include <gtest/gtest.h>

#include <deque>
#include <set>

#include "app/application.h"
#include "app/game_scenes.h"
#include "app/main_loop.h"
#include "app/picture_log.h"
#include "app/replay_shelf.h"
#include "app/shelf_edit.h"
#include "base/frame_clock.h"
#include "gfx/display.h"
#include "input/key_names.h"
#include "shell/replays_page.h"
#include "shell/sessions.h"
#include "shell/settings_file.h"
#include "shell/shell.h"
#include "tests/run_helpers.h"

namespace fs = std::filesystem;

namespace {

// A player at the keyboard across sessions: each key comes once the frame
// of the session then running reaches its frame, in the order pressed.
// A key at kWhenAsked comes once the shell offers RETRY.
class QueuedHost : public Host {
 public:
  static constexpr int64_t kWhenAsked = -1;
  bool PollEvent(HostEvent& event) override {
    if (events.empty()) return false;
    int64_t at = events.front().first;
    if (at == kWhenAsked ? !asked() : at > CurrentFrame()) return false;
    event = events.front().second;
    events.pop_front();
    return true;
  }
  void WaitEvent(int) override {}
  uint32_t NowMs() override { return static_cast<uint32_t>(CurrentFrame() * 40); }
  void ShowCursor(bool) override {}
  void HideWindow() override {}
  void ShowMessage(const char*, const char*) override {}
  void Press(int64_t frame, const char* key, int times = 1) {
    int code = *KeyCodeFromName(key);
    for (int i = 0; i < times; ++i) {
      events.push_back({frame, {HostEventType::KeyDown, code}});
      events.push_back({frame, {HostEventType::KeyUp, code}});
    }
  }
  // F1, then Down to the options' item and Enter.
  void OpenItem(int64_t frame, int downs) {
    Press(frame, "F1");
    Press(frame, "DOWN", downs);
    Press(frame, "RETURN");
  }
  std::deque<std::pair<int64_t, HostEvent>> events;
  std::function<bool()> asked;
};

constexpr int kReplaysItem = 9;
constexpr int kPracticeItem = 10;

// The shell around headless sessions, the runs kept in a folder of the test.
struct Rig {
  explicit Rig(const char* name, const Settings& settings = {})
      : dir(name), saved(settings), file((dir / "settings.ini").string()), shell(person, devices, file, saved, saved) {
    services.host = &person;
    shell.Wrap(services);
    shell.SetShelf(dir / "runs", dir / "docs");
    options.headless = true;
    options.mute = true;
    options.seed = 7;
    options.keepFolder = (dir / "runs").string();
    person.asked = [this] { return shell.AsksToRetry(); };
  }
  // The picture after each tick of each session.
  std::vector<std::vector<uint32_t>> Play() {
    std::vector<std::vector<uint32_t>> sessions;
    PlaySessions(options, services, shell, scenes, nullptr, [this, &sessions](Application& application) {
      std::vector<uint32_t>& pictures = sessions.emplace_back();
      application.Loop().OnTick([this, &pictures](int64_t, bool ran) {
        const Surface* back = GetBackSurface();
        pictures.push_back(ran && back ? PictureDigest(*back) : pictures.empty() ? 0 : pictures.back());
        const std::string& notice = shell.Notice();
        if (!notice.empty() && (notices.empty() || notices.back() != notice)) notices.push_back(notice);
      });
    });
    return sessions;
  }
  std::vector<ShelfEntry> Runs() const { return ReadShelf(dir / "runs"); }

  TestDir dir;
  Settings saved;
  SettingsFile file;
  QueuedHost person;
  struct NoDevices : ShellDevices {
  } devices;
  Shell shell;
  PlatformServices services;
  GameSceneFactory scenes;
  Options options;
  std::vector<std::string> notices;  // each as it came
};

}  // namespace

// From the title, PRACTICE at a level reached before: the practice run is
// kept as one, its game over (with potions enough for the ranking) offers
// RETRY, which plays the same practice again as a run of its own, or the
// title; the ranking file stays byte for byte.
TEST(OptionsRuns, APracticeRunRetriedLeavesTheRankingAsItWas) {
  Settings settings;
  settings.reached = {3, 0, 0, 5};
  Rig rig("practice", settings);
  const std::string ranking = "[Software\\KorvaGames\\Velloria]\n; the player's own\n";
  std::ofstream(rig.dir / "ranking.ini") << ranking;
  rig.options.rankingFile = (rig.dir / "ranking.ini").string();
  rig.options.frames = 1500;
  rig.person.OpenItem(300, kPracticeItem);
  rig.person.Press(300, "LEFT");      // stage 1 wraps round to stage 4
  rig.person.Press(300, "DOWN");      // LEVEL
  rig.person.Press(300, "RIGHT", 4);  // 5
  rig.person.Press(300, "DOWN");      // POTIONS
  rig.person.Press(300, "LEFT");      // 0 wraps round to 250
  rig.person.Press(300, "DOWN");      // START
  rig.person.Press(300, "RETURN");
  rig.person.Press(QueuedHost::kWhenAsked, "RETURN");  // RETRY
  rig.person.Press(QueuedHost::kWhenAsked, "ESCAPE");  // the title
  std::vector<std::vector<uint32_t>> sessions = rig.Play();

  ASSERT_EQ(sessions.size(), 4u) << "the title, the practice run, its retry, the title again";
  EXPECT_LT(sessions[2].size(), 1500u) << "the retried run did not end at its game over";
  EXPECT_EQ(sessions[1], sessions[2]) << "the retry is not the same practice";
  EXPECT_EQ(ReadFile(rig.dir / "ranking.ini"), ranking);
  std::vector<ShelfEntry> runs = rig.Runs();
  ASSERT_EQ(runs.size(), 2u);
  for (const ShelfEntry& run : runs) {
    EXPECT_EQ(run.start, (StartPoint{StartKind::Practice, 0, 4, 5, 250}));
    EXPECT_NE(ReadFile(rig.dir / "runs" / run.file).find("\nrun practice 4-5:250\n"), std::string::npos);
  }
  EXPECT_EQ(ReplaysPage::Line(runs[0], -1).find("PRACTICE 4-5"), 12u) << ReplaysPage::Line(runs[0], -1);
}

// WATCH from the list plays the kept run in the game's own picture, frame
// for frame as it was played, then returns to the title; the run reached
// is offered for practice from then on.
TEST(OptionsRuns, WatchingAKeptRunShowsItsFrames) {
  Rig rig("watch");
  rig.options.frames = 1200;
  rig.options.startStage = 4;
  rig.options.startLevel = 5;  // boss 4 ends a game without potions at once
  rig.person.OpenItem(1100, kReplaysItem);
  rig.person.Press(1100, "RETURN");  // WATCH the newest
  std::vector<std::vector<uint32_t>> sessions = rig.Play();

  std::vector<ShelfEntry> runs = rig.Runs();
  ASSERT_EQ(runs.size(), 1u);
  ASSERT_TRUE(runs[0].ended);
  ASSERT_EQ(sessions.size(), 3u) << "the run, the replay, the title";
  const std::vector<uint32_t>& played = sessions[0];
  const std::vector<uint32_t>& watched = sessions[1];
  ASSERT_EQ(watched.size(), static_cast<size_t>(runs[0].frames));
  ASSERT_GE(played.size(), watched.size());
  auto [w, p] = std::mismatch(watched.begin(), watched.end(), played.begin());
  EXPECT_TRUE(w == watched.end()) << "the pictures differ from tick " << (w - watched.begin());
  EXPECT_GT(std::set<uint32_t>(watched.begin(), watched.end()).size(), 100u) << "a still picture proves nothing";
  ASSERT_EQ(rig.shell.Current().reached.size(), 4u);
  EXPECT_EQ(rig.shell.Current().reached[3], 5);
  EXPECT_NE(ReadFile(rig.file.Path()).find("\nreached=4-5\n"), std::string::npos);
}

// REPLAYS in a game asks first: another key says no and the game goes on;
// Enter again ends the game as a quit does and opens the list over the
// title. There SEND offers a kept run to the hall as a run's end does: a
// --start or practice run is not ranked and sends nothing; Enter at the
// question sends a run's file under the name it entered, and the answer
// shows. WATCH then plays the game just ended, frame for frame.
TEST(OptionsRuns, ReplaysInAGameAsksThenSendsAndWatchesOverTheTitle) {
  struct FakeHall : HallSender {
    void Send(const std::string& url, const std::string& name, const std::string& replay) override {
      sent.push_back({url, name, replay});
    }
    std::optional<HallAnswer> Take() override {
      if (!Sending()) return std::nullopt;
      return ++answered, HallAnswer{201, R"({"id":4,"place":3})", ""};
    }
    bool Sending() const override { return answered < sent.size(); }
    std::vector<std::array<std::string, 3>> sent;
    size_t answered = 0;
  } hall;
  Settings settings;
  settings.hallOfFame = "https://hall.example.org";
  Rig rig("replays-in-game", settings);
  rig.shell.SetHallSender(&hall);
  KeptRun episode{{StartPoint{StartKind::Episode, 1, 1, 1, 0}}, "episode run\n"};
  episode.summary.ended = true;
  episode.summary.entered = {{120, "ANNA"}};
  KeptRun practice{{StartPoint{StartKind::Practice, 0, 4, 5, 0}}, "practice run\n"};
  practice.summary.ended = true;
  for (const KeptRun& run : {episode, practice}) ASSERT_TRUE(KeepRun(rig.dir / "runs", run, {}).Done());
  rig.options.frames = 600;
  rig.options.startStage = 1;
  rig.person.OpenItem(100, kReplaysItem);  // asks
  rig.person.Press(100, "DOWN");           // no
  rig.person.Press(100, "F1");
  rig.person.OpenItem(300, kReplaysItem);
  rig.person.Press(300, "RETURN");     // yes
  rig.person.Press(310, "RIGHT", 4);   // SEND, on the title's list
  rig.person.Press(310, "RETURN");     // from --start, not ranked
  rig.person.Press(310, "DOWN");       // the practice run
  rig.person.Press(310, "RETURN");     // not ranked either
  rig.person.Press(310, "DOWN");       // the episode's run
  rig.person.Press(310, "RETURN", 2);  // asks, sends
  rig.person.Press(360, "UP", 2);
  rig.person.Press(360, "RIGHT", 2);  // WATCH the game
  rig.person.Press(360, "RETURN");
  std::vector<std::vector<uint32_t>> sessions = rig.Play();

  ASSERT_EQ(sessions.size(), 4u) << "the game, the title with the list, the game watched, the title";
  const std::vector<uint32_t>& played = sessions[0];
  EXPECT_TRUE(played.size() >= 300 && played.size() < 310) << played.size();
  EXPECT_GT(std::set<uint32_t>(played.begin() + 110, played.begin() + 290).size(), 50u) << "the game stopped at no";
  const std::vector<uint32_t>& watched = sessions[2];
  EXPECT_GT(watched.size(), 250u);
  EXPECT_TRUE(watched.size() <= played.size() && std::equal(watched.begin(), watched.end(), played.begin()));
  ASSERT_EQ(hall.sent.size(), 1u);
  EXPECT_EQ(hall.sent[0], (std::array<std::string, 3>{settings.hallOfFame, "ANNA", "episode run\n"}));
  EXPECT_NE(std::find(rig.notices.begin(), rig.notices.end(), "HALL OF FAME: 3RD PLACE"), rig.notices.end())
      << ::testing::PrintToString(rig.notices);
}

// The list's actions on the folder: KEEP holds a run past the bound of
// recent runs, EXPORT never writes over a file, DELETE asks first, and a run
// whose line is in the ranking says its place.
TEST(OptionsRuns, KeepExportAndDeleteFromTheList) {
  TestDir dir("list");
  const fs::path runs = dir / "runs";
  std::array<RankEntry, kRankEntries> ranking{};
  ranking[0] = {900, "ANNA"};
  auto keep = [&](const std::string& text, std::vector<RankEntry> entered = {}) {
    KeptRun run;
    run.text = text;
    run.summary.entered = std::move(entered);
    ASSERT_TRUE(KeepRun(runs, run, ranking).Done());
  };
  keep("first run\n");
  ReplaysPage page;
  page.Open(runs, dir / "docs", ranking, false);
  page.Press(MenuInput::Right);  // KEEP
  page.Press(MenuInput::Enter);
  std::string first = ReadShelf(runs).at(0).file;
  for (size_t i = 0; i < kRecentRuns + 1; ++i) keep("run " + std::to_string(i) + "\n");
  std::vector<ShelfEntry> shelf = ReadShelf(runs);
  EXPECT_EQ(shelf.size(), kRecentRuns + 1);
  EXPECT_EQ(shelf.at(0).file, first);
  EXPECT_TRUE(shelf.at(0).kept);
  EXPECT_EQ(ReadFile(runs / first), "first run\n");

  keep("ranked run\n", {ranking[0]});
  page.Open(runs, dir / "docs", ranking, false);
  shelf = ReadShelf(runs);
  EXPECT_TRUE(ReplaysPage::Line(shelf.back(), 0).ends_with(" RANKED 1")) << ReplaysPage::Line(shelf.back(), 0);
  page.Press(MenuInput::Right);
  page.Press(MenuInput::Right);  // EXPORT, twice: the second never over the first
  page.Press(MenuInput::Enter);
  page.Press(MenuInput::Enter);
  std::vector<std::string> exported;
  for (const fs::directory_entry& file : fs::directory_iterator(dir / "docs")) exported.push_back(ReadFile(file));
  EXPECT_EQ(exported, std::vector<std::string>(2, "ranked run\n"));
  // DELETE: anything but Enter says no; Enter says yes.
  page.Press(MenuInput::Right);
  page.Press(MenuInput::Enter);
  page.Press(MenuInput::Left);
  EXPECT_TRUE(fs::exists(runs / shelf.back().file));
  page.Press(MenuInput::Enter);
  page.Press(MenuInput::Enter);
  EXPECT_FALSE(fs::exists(runs / shelf.back().file));
  EXPECT_EQ(ReadShelf(runs).size(), kRecentRuns + 1);
  EXPECT_FALSE(page.TakeRequest()) << "nothing here asks to play";
}
