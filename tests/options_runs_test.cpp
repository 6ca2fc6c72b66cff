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
// A key at kWhenAsked comes once the shell offers RETRY (and goes up after).
class QueuedHost : public FrameClockHost {
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
  void Press(int64_t frame, const char* key, int times = 1) {
    int code = *KeyCodeFromName(key);
    for (int i = 0; i < times; ++i) {
      events.push_back({frame, {HostEventType::KeyDown, code}});
      events.push_back({std::max<int64_t>(frame, 0), {HostEventType::KeyUp, code}});
    }
  }
  void Press(int64_t frame, std::initializer_list<const char*> keys) {
    for (const char* key : keys) Press(frame, key);
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
// title; the ranking file stays byte for byte. WATCH from the list then
// plays the run just kept in the game's own picture, frame for frame.
TEST(OptionsRuns, APracticeRunRetriedAndWatchedLeavesTheRankingAsItWas) {
  Settings settings;
  settings.reached = {3, 0, 0, 5};
  Rig rig("practice", settings);
  const std::string ranking = "[Software\\KorvaGames\\Velloria]\n; the player's own\n";
  std::ofstream(rig.dir / "ranking.ini") << ranking;
  rig.options.rankingFile = (rig.dir / "ranking.ini").string();
  rig.options.frames = 1500;
  rig.person.OpenItem(300, kPracticeItem);
  // Stage 1 wraps round to 4, level 5, potions 0 wrap round to 250, START.
  rig.person.Press(300, {"LEFT", "DOWN", "RIGHT", "RIGHT", "RIGHT", "RIGHT", "DOWN", "LEFT", "DOWN", "RETURN"});
  rig.person.Press(QueuedHost::kWhenAsked, "RETURN");  // RETRY
  rig.person.Press(QueuedHost::kWhenAsked, "ESCAPE");  // the title
  rig.person.OpenItem(50, kReplaysItem);
  rig.person.Press(50, "RETURN");  // WATCH the newest
  std::vector<std::vector<uint32_t>> sessions = rig.Play();

  ASSERT_EQ(sessions.size(), 6u) << "the title, the practice run, its retry, the title, the retry watched, the title";
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
  const std::vector<uint32_t>& watched = sessions[4];
  ASSERT_EQ(watched.size(), static_cast<size_t>(runs[1].frames));
  EXPECT_TRUE(std::equal(watched.begin(), watched.end(), sessions[2].begin())) << "the pictures differ";
  EXPECT_GT(std::set<uint32_t>(watched.begin(), watched.end()).size(), 100u) << "a still picture proves nothing";
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
      answer = HallAnswer{201, R"({"id":4,"place":3})", ""};
    }
    std::optional<HallAnswer> Take() override { return std::exchange(answer, std::nullopt); }
    bool Sending() const override { return answer.has_value(); }
    std::vector<std::array<std::string, 3>> sent;
    std::optional<HallAnswer> answer;
  } hall;
  Settings settings;
  settings.hallOfFame = "https://hall.example.org";
  Rig rig("replays-in-game", settings);
  rig.shell.SetHallSender(&hall);
  for (const KeptRun& run :
       {KeptRun{{.start = {StartKind::Episode, 1, 1, 1, 0}, .ended = true, .entered = {{120, "ANNA"}}},
                "episode run\n"},
        KeptRun{{.start = {StartKind::Practice, 0, 4, 5, 0}, .ended = true}, "practice run\n"}}) {
    ASSERT_TRUE(KeepRun(rig.dir / "runs", run, {}).Done());
  }
  rig.options.frames = 600;
  rig.options.startStage = 1;
  rig.person.OpenItem(100, kReplaysItem);  // asks
  rig.person.Press(100, {"DOWN", "F1"});   // no, and the options closed
  rig.person.OpenItem(300, kReplaysItem);
  rig.person.Press(300, "RETURN");  // yes
  // On the title's list, SEND: the game just ended (--start) and the practice
  // run are not ranked; the episode's run asks and goes. Then WATCH the game.
  rig.person.Press(310, {"RIGHT", "RIGHT", "RIGHT", "RIGHT", "RETURN", "DOWN", "RETURN", "DOWN", "RETURN", "RETURN"});
  rig.person.Press(360, {"UP", "UP", "RIGHT", "RIGHT", "RETURN"});
  std::vector<std::vector<uint32_t>> sessions = rig.Play();

  ASSERT_EQ(sessions.size(), 4u) << "the game, the title with the list, the game watched, the title";
  const std::vector<uint32_t>& played = sessions[0];
  EXPECT_TRUE(played.size() >= 300 && played.size() < 310) << played.size();
  EXPECT_GT(std::set<uint32_t>(played.begin() + 110, played.begin() + 290).size(), 50u) << "the game stopped at no";
  const std::vector<uint32_t>& watched = sessions[2];
  EXPECT_GT(watched.size(), 250u);
  EXPECT_TRUE(watched.size() <= played.size() && std::equal(watched.begin(), watched.end(), played.begin()));
  EXPECT_NE(ReadFile(rig.file.Path()).find("\nreached=1-1\n"), std::string::npos) << "the level reached is not kept";
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
