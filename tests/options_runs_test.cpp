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
class QueuedHost : public Host {
 public:
  bool PollEvent(HostEvent& event) override {
    if (events.empty() || events.front().first > CurrentFrame()) return false;
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
  }
  // The picture after each tick of each session.
  std::vector<std::vector<uint32_t>> Play() {
    std::vector<std::vector<uint32_t>> sessions;
    PlaySessions(options, services, shell, scenes, nullptr, [&sessions](Application& application) {
      std::vector<uint32_t>& pictures = sessions.emplace_back();
      application.Loop().OnTick([&pictures](int64_t, bool ran) {
        const Surface* back = GetBackSurface();
        pictures.push_back(ran && back ? PictureDigest(*back) : pictures.empty() ? 0 : pictures.back());
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
};

}  // namespace

// From the title, PRACTICE at a level reached before: the practice run is
// kept as one, its game over (with potions enough for the ranking) returns
// to the title, and the ranking file stays byte for byte.
TEST(OptionsRuns, APracticeRunFromTheOptionsLeavesTheRankingAsItWas) {
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
  std::vector<std::vector<uint32_t>> sessions = rig.Play();

  ASSERT_EQ(sessions.size(), 3u) << "the title, the practice run, the title again";
  EXPECT_LT(sessions[1].size(), 1500u) << "the practice run did not end at its game over";
  EXPECT_EQ(ReadFile(rig.dir / "ranking.ini"), ranking);
  std::vector<ShelfEntry> runs = rig.Runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].start, (StartPoint{StartKind::Practice, 0, 4, 5, 250}));
  EXPECT_NE(ReadFile(rig.dir / "runs" / runs[0].file).find("\nrun practice 4-5:250\n"), std::string::npos);
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
  // EXPORT, twice, beside a file of the player's under the first name.
  std::string stamp = shelf.back().date.substr(0, 4) + shelf.back().date.substr(5, 2) + shelf.back().date.substr(8, 2) +
                      "-" + shelf.back().date.substr(11, 2) + shelf.back().date.substr(14, 2) +
                      shelf.back().date.substr(17, 2);
  fs::create_directories(dir / "docs");
  std::ofstream(dir / "docs" / ("velloria-" + stamp + "-1.txt")) << "mine";
  page.Press(MenuInput::Right);
  page.Press(MenuInput::Right);  // EXPORT
  page.Press(MenuInput::Enter);
  page.Press(MenuInput::Enter);
  EXPECT_EQ(ReadFile(dir / "docs" / ("velloria-" + stamp + "-1.txt")), "mine");
  EXPECT_EQ(ReadFile(dir / "docs" / ("velloria-" + stamp + "-2.txt")), "ranked run\n");
  EXPECT_EQ(ReadFile(dir / "docs" / ("velloria-" + stamp + "-3.txt")), "ranked run\n");
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
