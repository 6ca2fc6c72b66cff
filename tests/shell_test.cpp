// The shell around the game: its settings file, the player's keys, and a
// session played through it (options, pause, hold to fire, the name entry)
// that must replay headless without it, frame for frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/app_block.h"
#include "app/application.h"
#include "app/game_scenes.h"
#include "app/main_loop.h"
#include "app/replay_shelf.h"
#include "app/shutdown.h"
#include "app/state_check.h"
#include "app/stats_log.h"
#include "base/frame_clock.h"
#include "input/input.h"
#include "input/key_names.h"
#include "shell/bindings.h"
#include "shell/quit_question.h"
#include "shell/settings.h"
#include "shell/settings_file.h"
#include "shell/shell.h"
#include "tests/run_helpers.h"

namespace {

int Key(const char* name) { return *KeyCodeFromName(name); }

// A person at the keyboard: each event comes once the run reaches its frame.
class PlayedHost : public Host {
 public:
  bool PollEvent(HostEvent& event) override {
    if (onPoll) onPoll();
    if (next >= events.size() || events[next].first > Now()) return false;
    event = events[next++].second;
    return true;
  }
  // A live run's clock moves only while the loop waits; a headless run's
  // counts frames.
  void WaitEvent(int ms) override { wallMs += ms < 0 ? 1 : std::max(ms, 1); }
  uint32_t NowMs() override { return live ? wallMs : static_cast<uint32_t>(CurrentFrame() * 40); }
  void ShowCursor(bool) override {}
  void HideWindow() override {}
  void ShowMessage(const char*, const char*) override {}
  void Press(int64_t frame, const char* key, int64_t upAt = -1) {
    events.push_back({frame, {HostEventType::KeyDown, Key(key)}});
    events.push_back({upAt < 0 ? frame : upAt, {HostEventType::KeyUp, Key(key)}});
    std::stable_sort(events.begin(), events.end(), [](auto& a, auto& b) { return a.first < b.first; });
  }
  // When the events fall: at frames, or in a live run at milliseconds.
  int64_t Now() const { return live ? wallMs : CurrentFrame(); }
  std::vector<std::pair<int64_t, HostEvent>> events;
  size_t next = 0;
  std::function<void()> onPoll;  // the person looks at the game
  bool live = false;
  uint32_t wallMs = 0;
};

// The screen as the player sees it: per frame, how much of the picture the
// shell's layer covers.
class ScreenSpy : public Presenter {
 public:
  void Present(const Surface&, const Palette&) override { ++presents; }
  void SetOverlay(const OverlayView& overlay) override {
    int covered = 0;
    for (int y = overlay.top; overlay.layer && y < overlay.bottom; ++y) {
      for (int x = 0; x < overlay.layer->Width(); ++x) covered += overlay.layer->At(x, y) != overlay.transparent;
    }
    covers[CurrentFrame()] = covered;
  }
  // The cover last laid at or before frame.
  int CoverAt(int64_t frame) const {
    auto at = covers.upper_bound(frame);
    return at == covers.begin() ? 0 : std::prev(at)->second;
  }
  std::map<int64_t, int> covers;
  int presents = 0;
};

// What the shell asks of the devices.
struct DevicesSpy : ShellDevices {
  void SetVolumes(int, int sound, bool) override { soundVolumes.push_back(sound); }
  void SilenceEffects() override { ++silenced; }
  std::vector<int> soundVolumes;
  int silenced = 0;
};

// A run played through the shell by a person, as the desktop plays it.
void PlayThroughShell(const Options& options, PlayedHost& person, Presenter& screen, ShellDevices& devices,
                      SettingsFile& file, const Settings& saved, JoystickSource* pad = nullptr) {
  PlatformServices services;
  services.host = &person;
  services.presenter = &screen;
  services.joystick = pad;
  Shell shell(person, devices, file, saved, saved);
  shell.Wrap(services);
  GameSceneFactory scenes;
  Application application(options, services, scenes);
  ASSERT_FALSE(application.Start());
  shell.Attach(application.Loop());
  application.Loop().Run();
  application.Finish();  // and the logs close with it
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Where two logs part, or empty when they are the same line for line.
std::string Parting(const std::filesystem::path& replayedLog, const std::filesystem::path& playedLog) {
  std::vector<std::string> replayed = Lines(ReadFile(replayedLog));
  std::vector<std::string> played = Lines(ReadFile(playedLog));
  auto [a, b] = std::mismatch(replayed.begin(), replayed.end(), played.begin(), played.end());
  if (a == replayed.end() && b == played.end()) return "";
  return "line " + std::to_string(a - replayed.begin() + 1) + ": replayed \"" + (a == replayed.end() ? "(end)" : *a) +
         "\", played \"" + (b == played.end() ? "(end)" : *b) + "\"";
}

std::vector<int64_t> FramesOf(const std::string& log, const std::string& what) {
  std::vector<int64_t> frames;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    if (line.size() > what.size() && line.ends_with(what)) frames.push_back(std::stoll(line));
  }
  return frames;
}

}  // namespace

TEST(Settings, BadLinesKeepTheirDefaultsAndASaveKeepsWhatItDoesNotKnow) {
  std::string text =
      "# mine\r\ndisplay=window\nwindow=1000x800\nfit=stretch\nmusic-volume=70\nsound-volume=101\n"
      "hold-to-fire=on\nconfirm-quit=off\nkey-fire=z, "
      "space\nkey-left=ESCAPE\nkey-up=\nkey-pause=NOKEY\npad-pause=4,16\n"
      "pad-fire=\nfuture-option=3\nwindow=300x200\n";
  std::vector<std::string> complaints;
  Settings s = ParseSettings(text, complaints);
  Settings defaults;
  EXPECT_FALSE(s.fullScreen);
  EXPECT_EQ(s.window, (WindowSize{1000, 800}));  // a bad later line keeps the good one
  EXPECT_EQ(s.fit, Fit::Whole);
  EXPECT_EQ(std::tie(s.musicVolume, s.soundVolume, s.holdToFire, s.confirmQuit), std::make_tuple(70, 100, true, false));
  EXPECT_EQ(s.bindings.Keys(Action::Fire), (std::vector<int>{Key("Z"), Key("SPACE")}));
  for (Action a : {Action::Left, Action::Up, Action::Pause}) EXPECT_EQ(s.bindings.Keys(a), defaults.bindings.Keys(a));
  EXPECT_EQ(s.bindings.padPause, defaults.bindings.padPause);
  EXPECT_TRUE(s.bindings.padFire.empty());
  ASSERT_EQ(complaints.size(), 7u);
  EXPECT_EQ(complaints[0], "line 4: fit=stretch: expected whole or fill");
  EXPECT_EQ(complaints[6].rfind("line 16: window=300x200", 0), 0u);
  // A save writes every line it knows anew in its place and keeps the rest.
  s.musicVolume = 40;
  std::string saved = FormatSettings(s, text);
  EXPECT_EQ(saved.rfind("# mine\ndisplay=window\nwindow=1000x800\nfit=whole\nmusic-volume=40\n", 0), 0u) << saved;
  EXPECT_NE(saved.find("\nfuture-option=3\n"), std::string::npos);
  EXPECT_NE(saved.find("\nkey-fire=Z,SPACE\n"), std::string::npos);
  EXPECT_NE(saved.find("\nkey-fast=S\n"), std::string::npos);  // a setting the file lacked
  complaints.clear();
  EXPECT_EQ(ParseSettings(saved, complaints), s);
  EXPECT_TRUE(complaints.empty());
  // Only what the player changed reaches what is saved, not this run's own values.
  Settings into = defaults;
  Settings after = s;
  after.soundVolume = 30;
  CopyChanges(s, after, into);
  EXPECT_EQ(into.soundVolume, 30);
  EXPECT_EQ(into.musicVolume, 100);
}

TEST(Settings, TheFileIsReadWithoutWritingAndEachBadLineIsToldOnce) {
  TestDir dir("settings-file");
  SettingsFile file((dir / "KorvaGames" / "settings.ini").string());
  EXPECT_EQ(file.Load(), Settings{});
  EXPECT_FALSE(std::filesystem::exists(dir / "KorvaGames"));
  std::filesystem::create_directories(dir / "KorvaGames");
  std::ofstream(dir / "KorvaGames" / "settings.ini") << "sound-volume=loud\nextra=1\n";
  ::testing::internal::CaptureStderr();
  Settings s = file.Load();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "velloria: " + file.Path() + " line 1: sound-volume=loud: expected 0 to 100\n");
  s.fit = Fit::Fill;
  EXPECT_TRUE(file.Save(s));
  EXPECT_EQ(ReadFile(file.Path()).rfind("sound-volume=100\nextra=1\ndisplay=fullscreen\nfit=fill\n", 0), 0u);
  // Two copies (two tabs of the page): each save keeps what the other saved
  // since it read the file.
  SettingsFile other(file.Path());
  Settings o = other.Load();
  s.musicVolume = 50;
  EXPECT_TRUE(file.Save(s));
  o.mute = true;
  EXPECT_TRUE(other.Save(o));
  std::vector<std::string> complaints;
  Settings both = ParseSettings(ReadFile(file.Path()), complaints);
  EXPECT_EQ(std::tie(both.musicVolume, both.mute, both.fit), std::make_tuple(50, true, Fit::Fill));
  SettingsFile none("");
  EXPECT_TRUE(none.Save(s));  // a headless run keeps nothing, and that is no failure
  // A file far too large is neither read nor saved over.
  std::filesystem::resize_file(file.Path(), 9 << 20);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(file.Load(), Settings{});
  EXPECT_FALSE(file.Save(s));
  const std::string why = ": 9 MB, larger than the 8 MB a ranking or settings file may be\n";
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "velloria: cannot read the settings in " + file.Path() + why +
                                                          "velloria: cannot save the settings to " + file.Path() + why);
  EXPECT_EQ(std::filesystem::file_size(file.Path()), 9u << 20);
}

// Mute silences music and effects on the devices and keeps the volumes;
// the options' MUTE line (after the volumes) and a page's button change it,
// and it is kept like the others.
TEST(Settings, MuteSilencesBothSidesAndKeepsTheVolumes) {
  std::vector<std::string> complaints;
  Settings saved = ParseSettings("music-volume=70\nsound-volume=40\nmute=on\nmute=maybe\n", complaints);
  ASSERT_EQ(complaints, std::vector<std::string>{"line 4: mute=maybe: expected off or on"});
  struct Spy : ShellDevices {
    void SetVolumes(int music, int sound, bool muted) override { heard.push_back({music, sound, muted}); }
    std::vector<std::tuple<int, int, bool>> heard;
  } devices;
  TestDir dir("mute");
  SettingsFile file((dir / "settings.ini").string());
  struct NoHost : Host {
    bool PollEvent(HostEvent&) override { return false; }
    void WaitEvent(int) override {}
    uint32_t NowMs() override { return 0; }
    void ShowCursor(bool) override {}
    void HideWindow() override {}
    void ShowMessage(const char*, const char*) override {}
  } host;
  PlatformServices services;
  services.host = &host;
  Shell shell(host, devices, file, saved, saved);
  shell.Wrap(services);
  Settings unmuted = saved;
  unmuted.mute = false;
  shell.ChangeSettings(unmuted);
  EXPECT_EQ(devices.heard, (std::vector<std::tuple<int, int, bool>>{{70, 40, true}, {70, 40, false}}));
  EXPECT_NE(ReadFile(file.Path()).find("\nmute=off\n"), std::string::npos) << ReadFile(file.Path());
  Settings edited;
  OptionsMenu menu(edited);
  menu.Open();
  for (MenuInput input : {MenuInput::Down, MenuInput::Down, MenuInput::Enter}) menu.Press(input);
  EXPECT_TRUE(edited.mute);
  EXPECT_EQ(std::tie(edited.musicVolume, edited.soundVolume), std::make_tuple(kMaxVolume, kMaxVolume));
}

// The player's keys reach the game as the game's own: the defaults change
// nothing; a key given to an action becomes the game's key for it; a game
// key given to nothing is kept from it; a name takes every key as it is.
TEST(Bindings, PlayersKeysBecomeTheGamesOwn) {
  Bindings defaults = Bindings::Defaults();
  for (const char* name : {"LEFT", "RIGHT", "UP", "DOWN", "SPACE", "LCTRL", "RCTRL", "RETURN", "KP_ENTER", "P", "S",
                           "A", "F12", "ESCAPE"}) {
    EXPECT_EQ(GameKeyFor(defaults, Key(name), false), Key(name)) << name;
  }
  Bindings b = defaults;
  b.Keys(Action::Fire) = {Key("Z")};
  b.Keys(Action::Confirm) = {Key("SPACE")};
  b.Keys(Action::Left) = {Key("A"), Key("LEFT")};
  b.Keys(Action::Pause) = {Key("Q")};
  struct Case {
    const char* key;
    const char* game;  // null: none
  } cases[] = {{"Z", "SPACE"},     {"SPACE", "RETURN"}, {"A", "LEFT"}, {"LEFT", "LEFT"},
               {"LCTRL", nullptr}, {"P", nullptr},      {"Q", "P"},    {"X", "X"}};
  for (const Case& c : cases) EXPECT_EQ(GameKeyFor(b, Key(c.key), false), c.game ? Key(c.game) : -1) << c.key;
  EXPECT_EQ(GameKeyFor(b, Key("Z"), true), Key("Z"));
  EXPECT_EQ(GameKeyFor(b, Key("P"), true), Key("P"));
  // A key is given or taken back; no action is left without one, and the
  // keys for quitting, the options and screenshots stay theirs.
  EXPECT_FALSE(ToggleKey(b, Action::Fire, Key("X")));
  EXPECT_FALSE(ToggleKey(b, Action::Fire, Key("Z")));
  EXPECT_EQ(b.Keys(Action::Fire), (std::vector<int>{Key("X")}));
  EXPECT_EQ(ToggleKey(b, Action::Fire, Key("X")), "fire NEEDS A KEY");
  for (const char* reserved : {"ESCAPE", "F1", "F12"}) EXPECT_TRUE(ToggleKey(b, Action::Fast, Key(reserved)));
  EXPECT_EQ(b.Keys(Action::Fast), (std::vector<int>{Key("S")}));
  // The pad: fire and confirm buttons are the game's button 0; the game's
  // other buttons pass unless an action has them; Back and Start never do.
  b.padFire = {2};
  b.padConfirm = {1};
  JoystickReading pad{true, 5, -7, 0b110011};
  EXPECT_EQ(GameReading(b, pad), (JoystickReading{true, 5, -7, 0b0001}));
  EXPECT_EQ(GameReading(defaults, pad), (JoystickReading{true, 5, -7, 0b0011}));
}

// Fire on Z and hold to fire on, a session with the options opened in the
// middle of a game (and again over a P pause, which they leave as it was),
// and a name typed with Z: recorded through the shell, it replays headless
// without it, frame for frame, picture for picture, sound for sound.
TEST(ShellSession, OptionsOpenedMidGameReplayHeadlessFrameForFrame) {
  TestDir dir("shell-session");
  Settings saved;
  saved.bindings.Keys(Action::Fire) = {Key("Z")};
  saved.holdToFire = true;
  SettingsFile file((dir / "settings.ini").string());
  PlayedHost person;
  person.Press(200, "Z", 221);  // held: a volley now and every fourth frame
  person.Press(260, "F1");      // the options, mid-game
  for (const char* key : {"DOWN", "RIGHT", "SPACE", "Z", "UP"}) person.Press(262, key);
  person.Press(265, "ESCAPE");  // closes them
  person.Press(300, "P");       // a pause of the game's own ...
  person.Press(305, "F1");      // ... the options over it ...
  person.Press(310, "F1");      // ... and it stays when they close
  person.Press(320, "P");
  for (int f = 700; f < 1000; f += 20) {  // fire, until the name entry takes the letter
    person.Press(f, "Z", f + 1);
    person.Press(f + 2, "RETURN", f + 3);
  }
  ScreenSpy screen;
  DevicesSpy devices;
  Options options;
  options.headless = true;
  options.frames = 1000;
  options.startStage = 1;
  options.startPotions = 500;
  options.seed = 3;
  options.recordFile = (dir / "session.txt").string();
  // The name entry's result cannot be kept: the player is told on the picture.
  std::filesystem::create_directories(dir / "locked");
  std::filesystem::permissions(dir / "locked", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  options.rankingFile = (dir / "locked" / "ranking.ini").string();
  for (auto [field, name] :
       {std::pair{&Options::statsFile, "stats"}, {&Options::pictureLog, "pictures"}, {&Options::soundLog, "sounds"}}) {
    options.*field = (dir / (std::string(name) + "-live")).string();
  }
  ::testing::internal::CaptureStderr();
  PlayThroughShell(options, person, screen, devices, file, saved);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot save the ranking"), std::string::npos);
  bool typed = false;
  for (int i = 0; i < kRankEntries; ++i) typed = typed || std::string(GetRankEntry(i).name) == "Z";
  EXPECT_TRUE(typed) << "the name entry did not take the letter of the fire key";

  std::string session = ReadFile(dir / "session.txt");
  ASSERT_NE(session.find("\ncheck 250 "), std::string::npos) << session;
  std::string events;  // the session without its checks
  for (const std::string& line : Lines(session)) events += line.starts_with("check ") ? "" : line + "\n";
  EXPECT_EQ(events.rfind("version " + VersionText() +
                             "\n# velloria session\nseed 3\nhold-to-fire on\n200 +SPACE\n221 -SPACE\n260 focus-\n"
                             "265 focus+\n300 +P\n300 -P\n320 +P\n320 -P\n",
                         0),
            0u)
      << session;
  EXPECT_NE(session.find(" +Z\n"), std::string::npos) << "the name entry gets the letter";
  EXPECT_EQ(session.find("F1"), std::string::npos);
  EXPECT_EQ(session.find("ESCAPE"), std::string::npos);
  std::string sounds = ReadFile(dir / "sounds-live");
  std::vector<int64_t> volleys = FramesOf(sounds, " play 0");
  ASSERT_GE(volleys.size(), 2u) << sounds;
  EXPECT_EQ(volleys[0], 200);
  EXPECT_EQ(volleys[1], 204);
  // In the options: Down to SOUND, Space (a confirm key) from 100 round to
  // 0, Z (fire) up to 10; kept at once.
  EXPECT_NE(ReadFile(file.Path()).find("\nsound-volume=10\n"), std::string::npos);
  // The overlay lay over the picture while the options and the pause held the
  // game, the volume's notice for two seconds, and nothing once play went on.
  EXPECT_GT(screen.CoverAt(263), screen.CoverAt(266));
  EXPECT_GT(screen.CoverAt(266), 0);
  EXPECT_GT(screen.CoverAt(302), 0);
  EXPECT_GT(screen.CoverAt(312), 0);
  EXPECT_EQ(screen.CoverAt(321), 0);
  EXPECT_TRUE(std::any_of(screen.covers.lower_bound(900), screen.covers.end(), [](auto& c) { return c.second > 0; }))
      << "no RANKING NOT SAVED";

  RunResult r = RunGame("--headless --frames 1000 --start 1-1:500 --input " + (dir / "session.txt").string() +
                        " --stats " + (dir / "stats").string() + " --picture-log " + (dir / "pictures").string() +
                        " --sound-log " + (dir / "sounds").string());
  ASSERT_EQ(r.code, 0) << r.errors;
  for (const char* log : {"stats", "pictures", "sounds"}) {
    EXPECT_EQ(Parting(dir / log, dir / (std::string(log) + "-live")), "") << log;
  }
}

// A run played through the shell is kept by itself: its file replays headless
// without the shell, picture for picture, the pause, the options, the name
// typed and the continue taken with it.
TEST(ShellSession, ARunKeptThroughTheShellReplaysHeadlessPictureForPicture) {
  TestDir dir("kept-through-shell");
  Settings saved;
  SettingsFile file((dir / "settings.ini").string());
  PlayedHost person;
  person.Press(200, "P");
  person.Press(230, "P");
  person.Press(300, "F1");      // the options, mid-game
  person.Press(310, "ESCAPE");  // closes them
  // Boss 4 wins at about frame 840: a name, then YES to a continue.
  person.Press(900, "A");
  person.Press(902, "B");
  person.Press(910, "RETURN");
  for (int f = 980; f < 1200; f += 10) person.Press(f, "RETURN", f + 1);
  PlatformServices services;
  services.host = &person;
  struct NoDevices : ShellDevices {
  } devices;
  Shell shell(person, devices, file, saved, saved);
  shell.Wrap(services);
  Options options;
  options.headless = true;
  options.frames = 2600;
  options.startStage = 4;
  options.startLevel = 5;
  options.startPotions = 60;
  options.seed = 7;
  options.keepFolder = (dir / "runs").string();
  options.pictureLog = (dir / "pictures-live").string();
  GameSceneFactory scenes;
  {
    Application application(options, services, scenes);
    ASSERT_FALSE(application.Start());
    shell.Attach(application.Loop());
    application.Loop().Run();
    application.Finish();
  }
  std::vector<ShelfEntry> runs = ParseShelfIndex(ReadFile(dir / "runs" / "index.txt"));
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_TRUE(runs[0].ended);
  EXPECT_EQ(runs[0].continues, 1);
  ASSERT_EQ(runs[0].entered.size(), 1u);
  EXPECT_STREQ(runs[0].entered[0].name, "AB");
  std::string kept = ReadFile(dir / "runs" / runs[0].file);
  for (const char* line : {"\nrun start 4-5:60\n", " +P\n", " focus-\n", " +A\n", "\ncheck 1500 "}) {
    EXPECT_NE(kept.find(line), std::string::npos) << line;
  }

  RunResult r = RunGame("--headless --input " + (dir / "runs" / runs[0].file).string() + " --picture-log " +
                        (dir / "pictures").string());
  ASSERT_EQ(r.code, 0) << r.errors;
  std::vector<std::string> replayed = Lines(ReadFile(dir / "pictures"));
  std::vector<std::string> played = Lines(ReadFile(dir / "pictures-live"));
  ASSERT_EQ(replayed.size(), static_cast<size_t>(runs[0].frames));
  auto [a, b] = std::mismatch(replayed.begin(), replayed.end(), played.begin(), played.end());
  EXPECT_TRUE(a == replayed.end()) << "the pictures differ at " << *a << " (played " << *b << ")";
}

// A watched replay shows REPLAY and plays alone: the player's keys, pauses
// and options leave it as the file has it, picture for picture.
TEST(ShellSession, AWatchedReplayTakesNoneOfThePlayersInput) {
  TestDir dir("watched");
  std::ofstream(dir / "run.txt") << "run start 1-1:0\nrandom 5\n100 +RIGHT\n140 -RIGHT\n200 +SPACE\n201 -SPACE\n";
  Settings saved;
  SettingsFile file((dir / "settings.ini").string());
  PlayedHost person;
  for (const char* key : {"LEFT", "P", "F1", "SPACE"}) person.Press(150, key, 160);
  person.events.push_back({170, {HostEventType::FocusLost}});
  ScreenSpy screen;
  PlatformServices services;
  services.host = &person;
  services.presenter = &screen;
  struct NoDevices : ShellDevices {
  } devices;
  Shell shell(person, devices, file, saved, saved);
  shell.Wrap(services);
  shell.SetWatching(true);
  Options options;
  options.headless = true;
  options.frames = 300;
  options.watch = true;
  options.inputFile = (dir / "run.txt").string();
  options.pictureLog = (dir / "pictures-watched").string();
  GameSceneFactory scenes;
  {
    Application application(options, services, scenes);
    ASSERT_FALSE(application.Start());
    shell.Attach(application.Loop());
    application.Loop().Run();
    application.Finish();
  }
  EXPECT_GT(screen.CoverAt(10), 0) << "no REPLAY";
  EXPECT_EQ(screen.CoverAt(165), screen.CoverAt(10)) << "the options or PAUSED came up";
  RunResult r = RunGame("--headless --frames 300 --input " + (dir / "run.txt").string() + " --picture-log " +
                        (dir / "pictures").string());
  ASSERT_EQ(r.code, 0) << r.errors;
  EXPECT_EQ(ReadFile(dir / "pictures-watched"), ReadFile(dir / "pictures"));
}

// A run that cannot be kept, in a folder that cannot be made or with no
// data folder at all, is told on the picture when it ends, and why on
// standard error; play goes on.
TEST(ShellSession, ARunThatCannotBeKeptShowsANotice) {
  TestDir dir("unkept");
  std::ofstream(dir / "not-a-folder") << "x";
  for (const std::string& folder : {(dir / "not-a-folder" / "runs").string(), std::string()}) {
    Settings saved;
    SettingsFile file((dir / "settings.ini").string());
    PlayedHost person;
    ScreenSpy screen;
    PlatformServices services;
    services.host = &person;
    services.presenter = &screen;
    struct NoDevices : ShellDevices {
    } devices;
    Shell shell(person, devices, file, saved, saved);
    shell.Wrap(services);
    Options options;
    options.headless = true;
    options.frames = 1000;
    options.startStage = 4;
    options.startLevel = 5;  // boss 4 ends a game without potions at once
    options.keepFolder = folder;
    options.keepWithoutFolder = folder.empty();
    GameSceneFactory scenes;
    ::testing::internal::CaptureStderr();
    {
      Application application(options, services, scenes);
      ASSERT_FALSE(application.Start());
      shell.Attach(application.Loop());
      application.Loop().Run();
      application.Finish();
    }
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("velloria: cannot keep the run in "), std::string::npos)
        << folder;
    EXPECT_EQ(screen.CoverAt(600), 0) << folder;
    EXPECT_TRUE(std::any_of(screen.covers.lower_bound(700), screen.covers.end(), [](auto& c) { return c.second > 0; }))
        << folder << ": no REPLAY NOT SAVED";
  }
}

// The header of an input file switches hold to fire on for the replay: a
// fire key held through frames 150 to 160 gives a volley every fourth frame.
// Headless runs read no settings but a file named with --settings, whose
// hold to fire counts where no input file says otherwise.
TEST(HoldToFire, AHeldFireKeyFiresEveryFourthFrameWhenTheRunSaysSo) {
  TestDir dir("hold-to-fire");
  std::filesystem::create_directories(dir / "config" / "KorvaGames" / "Velloria");
  std::ofstream(dir / "config" / "KorvaGames" / "Velloria" / "settings.ini") << "hold-to-fire=on\n";
  std::ofstream(dir / "named.ini") << "hold-to-fire=on\nfit=round\n";
  std::string errors;
  auto volleys = [&](const char* header, const std::string& more = "") {
    std::ofstream(dir / "in.txt") << "seed 1\n" << header << "150 +SPACE\n161 -SPACE\n";
    RunResult r = RunGame("--headless --start 1-1 --frames 200 --input " + (dir / "in.txt").string() + " --sound-log " +
                              (dir / "sounds").string() + more,
                          (dir / "config").string());
    EXPECT_EQ(r.code, 0) << r.errors;
    errors = r.errors;
    return FramesOf(ReadFile(dir / "sounds"), " play 0");
  };
  const std::vector<int64_t> everyFourth = {150, 154, 158};
  EXPECT_EQ(volleys("hold-to-fire on\n"), everyFourth);
  EXPECT_EQ(volleys(""), std::vector<int64_t>{150});
  EXPECT_EQ(volleys("hold-to-fire off\n", " --settings " + (dir / "named.ini").string()), std::vector<int64_t>{150});
  EXPECT_EQ(errors, "velloria: " + (dir / "named.ini").string() + " line 2: fit=round: expected whole or fill\n");
  // A byte-order mark in front hides no line: the first is read, and found wrong.
  std::ofstream(dir / "marked.ini", std::ios::binary) << "\xEF\xBB\xBF"
                                                      << "fit=round\n";
  volleys("", " --settings " + (dir / "marked.ini").string());
  EXPECT_EQ(errors, "velloria: " + (dir / "marked.ini").string() + " line 1: fit=round: expected whole or fill\n");
  // Only a game in play repeats: Space held from the ranking into the title
  // (the front-end session's way there) confirms nothing more.
  std::ofstream menus(dir / "in.txt");
  menus << "seed 5\nhold-to-fire on\n";
  std::istringstream session(
      ReadFile(std::filesystem::path(VELLORIA_SOURCE_DIR) / "tests/replays/front-end/input.txt"));
  for (std::string line; std::getline(session, line) && !line.starts_with("370 ");) {
    if (!line.starts_with("seed")) menus << line << "\n";
  }
  menus << "370 +SPACE\n";
  menus.close();
  RunGame("--headless --frames 600 --input " + (dir / "in.txt").string() + " --stats " + (dir / "stats").string());
  std::vector<StatsLine> stats = ReadStats(dir / "stats");
  ASSERT_EQ(stats.size(), 600u);
  EXPECT_EQ(stats.back().at("scene"), StatsLog::Value(scene_state::kTitleRunning));
  std::filesystem::remove(dir / "in.txt");
  RunResult r = RunGame("--headless --start 1-1 --frames 200 --settings " + (dir / "named.ini").string() +
                            " --record " + (dir / "in.txt").string(),
                        (dir / "config").string());
  EXPECT_EQ(ReadFile(dir / "in.txt"), "version " + VersionText() + "\n# velloria session\nseed 1\nhold-to-fire on\n")
      << r.errors;
}

// Return during the logo reaches the title at once in a live run, yet the
// game never hears of it: the logo's frames run on unshown and unheard, and
// the run's pictures, its recording and the replay of that recording are
// those of a run that waited. The title names the options.
TEST(ShellSession, ASkippedLogoPlaysTheFramesOfOneThatWaited) {
  TestDir dir("logo-skip");
  SettingsFile file("");
  PlayedHost person;
  person.live = true;
  person.Press(400, "RETURN", 600);  // ten frames into the logo
  std::optional<uint32_t> titleAt;
  person.onPoll = [&] {
    if (!titleAt && GetAppBlock().sceneState == scene_state::kTitleRunning) titleAt = person.wallMs;
  };
  ScreenSpy screen;
  DevicesSpy devices;
  Options options;
  options.frames = 400;
  options.seed = 1;
  options.rankingFile = (dir / "ranking.ini").string();
  options.recordFile = (dir / "session.txt").string();
  options.pictureLog = (dir / "pictures-live").string();
  PlayThroughShell(options, person, screen, devices, file, Settings{});
  ASSERT_TRUE(titleAt);
  EXPECT_LT(*titleAt, 1000u) << "a logo left to run ends at 9 s";
  EXPECT_LT(screen.presents, 200) << "the skipped frames were shown";
  EXPECT_EQ(devices.soundVolumes, (std::vector<int>{kMaxVolume, 0, kMaxVolume}));
  EXPECT_EQ(devices.silenced, 1);
  EXPECT_EQ(screen.CoverAt(200), 0);
  EXPECT_GT(screen.CoverAt(300), 0) << "no F1 OPTIONS on the title";
  EXPECT_EQ(RecordedEvents(dir / "session.txt"), "# velloria session\nseed 1\n");
  RunResult waited = RunGame("--headless --frames 400 --picture-log " + (dir / "pictures").string());
  ASSERT_EQ(waited.code, 0) << waited.errors;
  EXPECT_EQ(Parting(dir / "pictures", dir / "pictures-live"), "");
  RunResult replayed = RunGame("--headless --frames 400 --input " + (dir / "session.txt").string() + " --picture-log " +
                               (dir / "pictures").string());
  ASSERT_EQ(replayed.code, 0) << replayed.errors;
  EXPECT_EQ(Parting(dir / "pictures", dir / "pictures-live"), "");
}

// Escape in a game asks; any other key plays on and is nobody's; F1, then
// Escape closing the options, then Escape asks again. In the name entry
// HERO, then Escape twice: the entry is finished with HERO, kept in the
// ranking, and only then does the program end. The session replays
// headless to the same frames and the same ranking. With CONFIRM QUIT off,
// closing the window in the name entry keeps the name too.
TEST(ShellSession, EscapeInARunAsksAndAQuitInTheNameEntryKeepsTheName) {
  TestDir dir("quit");
  SettingsFile file("");
  auto play = [&](const Settings& saved, PlayedHost& person, const std::string& name, const HostEvent& quit) {
    bool typed = false;
    person.onPoll = [&] {
      if (typed || GetAppBlock().hotkeysEnabled) return;
      typed = true;
      int64_t f = CurrentFrame() + 5;
      for (char c : name) person.Press(f++, std::string(1, c).c_str());
      person.events.push_back({f + 5, quit});
      person.events.push_back({f + 10, quit});
    };
    ScreenSpy screen;
    DevicesSpy devices;
    Options options;
    options.headless = true;
    options.frames = 5000;
    options.startStage = 1;
    options.startPotions = 500;
    options.seed = 3;
    options.rankingFile = (dir / "ranking.ini").string();
    options.recordFile = (dir / "session.txt").string();
    options.statsFile = (dir / "stats-live").string();
    PlayThroughShell(options, person, screen, devices, file, saved);
    EXPECT_TRUE(typed) << "no name entry";
    return screen;
  };
  PlayedHost person;
  person.Press(100, "ESCAPE");
  person.Press(110, "SPACE");
  person.Press(150, "F1");
  person.Press(152, "ESCAPE");
  person.Press(154, "ESCAPE");
  person.Press(160, "LEFT");
  ScreenSpy screen = play(Settings{}, person, "HERO", {HostEventType::KeyDown, Key("ESCAPE")});
  EXPECT_GT(screen.CoverAt(105), 0) << "no question";
  EXPECT_EQ(screen.CoverAt(115), 0);
  EXPECT_GT(screen.CoverAt(157), 0);
  std::string session = ReadFile(dir / "session.txt");
  EXPECT_NE(session.find("\n100 focus-\n110 focus+\n150 focus-\n152 focus+\n154 focus-\n160 focus+\n"),
            std::string::npos)
      << session;
  EXPECT_EQ(session.find("SPACE"), std::string::npos) << "the key that played on reached the game";
  EXPECT_EQ(session.find("LEFT"), std::string::npos);
  // The entry is finished by the Return the shell typed, the quit comes after.
  size_t enter = session.find(" +RETURN\n");
  ASSERT_NE(enter, std::string::npos) << session;
  EXPECT_EQ(session.find(" +ESCAPE\n"), session.rfind(" +ESCAPE\n"));
  EXPECT_GT(session.find(" +ESCAPE\n"), enter);
  EXPECT_EQ(std::string(GetRankEntry(0).name), "HERO");
  EXPECT_NE(ReadFile(dir / "ranking.ini").find(",HERO"), std::string::npos);
  std::vector<StatsLine> live = ReadStats(dir / "stats-live");
  ASSERT_FALSE(live.empty());
  EXPECT_LT(live.size(), 5000u) << "the program did not end";
  std::filesystem::remove(dir / "ranking.ini");
  RunResult r = RunGame("--headless --frames 5000 --start 1-1:500 --ranking " + (dir / "ranking.ini").string() +
                        " --input " + (dir / "session.txt").string() + " --stats " + (dir / "stats").string());
  ASSERT_EQ(r.code, 0) << r.errors;
  EXPECT_EQ(Parting(dir / "stats", dir / "stats-live"), "");
  EXPECT_NE(ReadFile(dir / "ranking.ini").find(",HERO"), std::string::npos);

  Settings unasked;
  unasked.confirmQuit = false;
  std::filesystem::remove(dir / "ranking.ini");
  PlayedHost closing;
  play(unasked, closing, "AB", {HostEventType::Quit});
  EXPECT_EQ(std::string(GetRankEntry(0).name), "AB");
  EXPECT_NE(ReadFile(dir / "ranking.ini").find(",AB"), std::string::npos);
}

// Escape asks only in a game or on the continue screen, and only while the
// player wants it asked; a game paused with P stays paused whatever the
// answer, and a quit while a name is typed lets the game run to keep it.
TEST(QuitQuestion, AsksOnlyInARunAndLeavesAPauseAsItWas) {
  auto said = [](const std::vector<HostEvent>& events) {
    std::string text;
    for (const HostEvent& e : events)
      text += std::to_string(static_cast<int>(e.type)) + ":" + std::to_string(e.key) + " ";
    return text;
  };
  const std::string escape = said({{HostEventType::KeyDown, key::kEscape}});
  const std::string holds = said({{HostEventType::FocusLost}});
  for (int scene = scene_state::kLogoStart; scene <= scene_state::kQuit; ++scene) {
    bool run = scene == scene_state::kGameStart || scene == scene_state::kGameRunning ||
               scene == scene_state::kContinueStart || scene == scene_state::kContinueRunning;
    AppBlock app;
    app.sceneState = scene;
    QuitQuestion unasked;
    EXPECT_EQ(said(unasked.Escape(app, false)), escape) << scene;
    QuitQuestion question;
    EXPECT_EQ(said(question.Escape(app, true)), run ? holds : escape) << scene;
    EXPECT_EQ(question.Asking(), run) << scene;
    if (run) {
      EXPECT_EQ(said(question.Escape(app, true)), escape) << scene;
    }
  }
  AppBlock app;
  app.sceneState = scene_state::kGameRunning;
  app.paused = 1;
  QuitQuestion question;
  EXPECT_EQ(said(question.Escape(app, true)), "");
  EXPECT_EQ(said(question.PlayOn(true)), "");
  app.hotkeysEnabled = 0;
  EXPECT_EQ(
      said(question.Close(app)),
      said({{HostEventType::FocusGained}, {HostEventType::KeyDown, key::kEnter}, {HostEventType::KeyUp, key::kEnter}}));
  EXPECT_EQ(said(question.Look(app)), "");
  app.sceneState = scene_state::kContinueStart;
  EXPECT_EQ(said(question.Look(app)), said({{HostEventType::Quit}}));
}

// The pad as the keyboard: a button during the logo skips it, unseen by the
// game; with the question up, another button plays on and Back quits.
TEST(ShellSession, ThePadSkipsTheLogoAndAnswersTheQuestion) {
  TestDir dir("pad");
  SettingsFile file("");
  // The buttons change while the host is asked for events, as a real pad's
  // state does when the platform takes its events.
  struct Pad : JoystickSource {
    JoystickReading Read() override { return reading; }
    JoystickReading reading{true, 0, 0, 0};
  } pad;
  auto play = [&](Options options, PlayedHost& person, std::map<int64_t, uint32_t> buttons) {
    person.onPoll = [&pad, buttons] {
      auto at = buttons.upper_bound(CurrentFrame());
      if (at != buttons.begin()) pad.reading.buttons = std::prev(at)->second;
    };
    options.headless = true;
    options.seed = 1;
    options.recordFile = (dir / "session.txt").string();
    options.pictureLog = (dir / "pictures-live").string();
    ScreenSpy screen;
    DevicesSpy devices;
    PlayThroughShell(options, person, screen, devices, file, Settings{}, &pad);
    return RecordedEvents(dir / "session.txt");
  };
  Options logo;
  logo.frames = 300;
  PlayedHost waiting;
  EXPECT_EQ(play(logo, waiting, {{10, 1u << pad_button::kSouth}, {14, 0}}),
            "# velloria session\nseed 1\n0 joy 0 0 0\n");
  RunResult waited = RunGame("--headless --frames 300 --picture-log " + (dir / "pictures").string());
  ASSERT_EQ(waited.code, 0) << waited.errors;
  EXPECT_EQ(Parting(dir / "pictures", dir / "pictures-live"), "");

  Options game;
  game.frames = 1000;
  game.startStage = 1;
  PlayedHost person;
  person.Press(100, "ESCAPE");
  person.Press(110, "ESCAPE");
  std::string session =
      play(game, person, {{105, 1u << pad_button::kEast}, {108, 0}, {115, 1u << pad_button::kBack}, {118, 0}});
  EXPECT_NE(session.find("\n100 focus-\n105 focus+\n110 focus-\n115 +ESCAPE\n"), std::string::npos) << session;
  EXPECT_EQ(session.find(" joy 0 0 2"), std::string::npos) << "the button that played on reached the game";
}
