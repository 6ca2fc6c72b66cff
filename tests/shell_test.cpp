// The shell around the game: its settings file, the player's keys, the
// options' items, the quit question's rule and hold to fire.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/app_block.h"
#include "app/state_check.h"
#include "app/stats_log.h"
#include "base/frame_clock.h"
#include "input/input.h"
#include "input/key_names.h"
#include "shell/bindings.h"
#include "shell/key_meaning.h"
#include "shell/pad_router.h"
#include "shell/quit_question.h"
#include "shell/run_settings.h"
#include "shell/settings.h"
#include "shell/settings_file.h"
#include "shell/shell.h"
#include "tests/run_helpers.h"
#include "tests/shell_play.h"

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
  EXPECT_EQ(s.fit, Fit::Auto);                   // left to the screen
  EXPECT_EQ(std::tie(s.musicVolume, s.soundVolume, s.holdToFire, s.confirmQuit), std::make_tuple(70, 100, true, false));
  EXPECT_EQ(s.bindings.Keys(Action::Fire), (std::vector<int>{Key("Z"), Key("SPACE")}));
  for (Action a : {Action::Left, Action::Up, Action::Pause}) EXPECT_EQ(s.bindings.Keys(a), defaults.bindings.Keys(a));
  EXPECT_EQ(s.bindings.padPause, defaults.bindings.padPause);
  EXPECT_TRUE(s.bindings.padFire.empty());
  ASSERT_EQ(complaints.size(), 7u);
  EXPECT_EQ(complaints[0], "line 4: fit=stretch: expected whole, fill or auto");
  EXPECT_EQ(complaints[6].rfind("line 16: window=300x200", 0), 0u);
  // A save writes every line it knows anew in its place and keeps the rest;
  // a fit left to the screen has no line.
  s.musicVolume = 40;
  std::string saved = FormatSettings(s, text);
  EXPECT_EQ(saved.rfind("# mine\ndisplay=window\nwindow=1000x800\nmusic-volume=40\n", 0), 0u) << saved;
  EXPECT_NE(saved.find("\nfuture-option=3\n"), std::string::npos);
  EXPECT_NE(saved.find("\nkey-fire=Z,SPACE\n"), std::string::npos);
  EXPECT_NE(saved.find("\nkey-fast=S\n"), std::string::npos);  // a setting the file lacked
  complaints.clear();
  EXPECT_EQ(ParseSettings(saved, complaints), s);
  EXPECT_TRUE(complaints.empty());
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

// Every setting at either end of its range, changed during a run (as the
// options or a page's buttons change it), is heard at once where it is a
// volume and is what the next launch reads; what the command line gave
// this run alone (a volume, --window) is let go unless the player changes it.
TEST(Settings, EverySettingAtEitherEndSurvivesASaveAndARelaunch) {
  Settings low;
  low.fullScreen = false;
  low.window = kSmallestWindow;
  low.fit = Fit::Whole;
  low.musicVolume = low.soundVolume = 0;
  low.holdToFire = true;
  low.rememberName = low.confirmQuit = false;
  for (Action a : kActions) low.bindings.Keys(a) = {Key("A")};
  low.bindings.padFire = low.bindings.padConfirm = low.bindings.padPause = low.bindings.padFast = {};
  low.reached = {1};
  Settings high;
  high.window = WindowSize{kLargestWindowSide, kLargestWindowSide};
  high.fit = Fit::Fill;
  high.mute = true;
  high.name = "Z.Y-X 012345678";  // as long as a name may be
  for (Action a : kActions) high.bindings.Keys(a) = {Key("KP_ENTER"), Key("RCTRL"), Key("F10"), Key("0"), Key("Z")};
  for (int b = 0; b < pad_button::kCount; ++b) high.bindings.padFast.push_back(b);
  high.bindings.padFire = high.bindings.padConfirm = high.bindings.padPause = high.bindings.padFast;
  high.reached.assign(16, 99);
  high.hallOfFame = "https://hall.example.org/velloria/" + std::string(200, 'h');
  TestDir dir("ends");
  auto launch = [&](const Options& options, const std::function<void(Shell&, DevicesSpy&, PlayedHost&)>& play) {
    SettingsFile file((dir / "settings.ini").string());
    Settings saved = file.Load();
    Settings run = ForThisRun(saved, options);
    DevicesSpy devices;
    devices.full = run.fullScreen;  // the window opens as the run says
    PlayedHost host;
    PlatformServices services;
    services.host = &host;
    Shell shell(host, devices, file, saved, run);
    shell.Wrap(services);
    play(shell, devices, host);
    const Settings& now = shell.Current();
    EXPECT_EQ(devices.heard.back(), std::make_tuple(now.musicVolume, now.soundVolume, now.mute));
  };
  auto kept = [&] { return FormatSettings(SettingsFile((dir / "settings.ini").string()).Load(), ""); };
  for (const Settings* wanted : {&high, &low, &high}) {
    launch({}, [&](Shell& shell, DevicesSpy&, PlayedHost&) { shell.ChangeSettings(*wanted); });
    EXPECT_EQ(kept(), FormatSettings(*wanted, ""));
  }
  // The window's first size is the run's; a size the player drags it to, and
  // Alt+Enter, are kept.
  auto resize = [](Shell& shell, DevicesSpy& devices, PlayedHost& host, WindowSize size) {
    devices.size = size;
    host.events.push_back({0, {HostEventType::Expose}});
    HostEvent passed;
    shell.PollEvent(passed);
  };
  Options thisRun;
  thisRun.fullScreen = false;
  thisRun.soundVolume = 0;
  thisRun.scale = 2;
  launch(thisRun, [&](Shell& shell, DevicesSpy& devices, PlayedHost& host) {
    resize(shell, devices, host, {1280, 960});
    Settings louder = shell.Current();
    louder.musicVolume = 50;
    shell.ChangeSettings(louder);
  });
  high.musicVolume = 50;
  EXPECT_EQ(kept(), FormatSettings(high, ""));
  launch({}, [&](Shell& shell, DevicesSpy& devices, PlayedHost& host) {
    devices.full = false;
    shell.ToggleFullScreen();
    resize(shell, devices, host, {1280, 960});
    resize(shell, devices, host, {1000, 700});
  });
  high.window = WindowSize{1000, 700};
  high.fullScreen = false;
  EXPECT_EQ(kept(), FormatSettings(high, ""));
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
  // One key, one meaning: a key moves from an action acting where the new
  // one acts; actions that never meet share it; no action is left without
  // a key, and the keys for quitting, the options and screenshots stay.
  EXPECT_EQ(BindKey(b, Action::Fire, Key("X")), "X ADDED TO FIRE");
  EXPECT_EQ(BindKey(b, Action::Fire, Key("Z")), "Z TAKEN FROM FIRE");
  EXPECT_EQ(BindKey(b, Action::Fire, Key("X")), "FIRE NEEDS A KEY");
  EXPECT_EQ(BindKey(b, Action::Up, Key("X")), "X ADDED TO UP");  // up acts in the title alone
  EXPECT_EQ(BindKey(b, Action::Fast, Key("A")), "A MOVED FROM LEFT TO FAST");
  EXPECT_EQ(b.Keys(Action::Left), (std::vector<int>{Key("LEFT")}));
  for (const char* reserved : {"ESCAPE", "F1", "F12"}) EXPECT_NE(BindKey(b, Action::Fast, Key(reserved)), "");
  EXPECT_EQ(b.Keys(Action::Fast), (std::vector<int>{Key("S"), Key("A")}));
  // A shared key is the game's key of the action that acts where it is pressed.
  EXPECT_EQ(GameKeyFor(b, Key("X"), false, Where::Play), Key("SPACE"));
  EXPECT_EQ(GameKeyFor(b, Key("X"), false, Where::Menus), Key("UP"));
  EXPECT_EQ(BindKey(b, Action::Right, Key("A")), "A MOVED FROM FAST TO RIGHT");
  EXPECT_EQ(BindKey(b, Action::Down, Key("S")), "S MOVED FROM FAST TO DOWN - FAST HAS NO KEY");
  EXPECT_EQ(BindKey(b, Action::Fast, Key("S")), "S MOVED FROM DOWN TO FAST");
  EXPECT_EQ(b.Keys(Action::Down), (std::vector<int>{Key("DOWN")}));
  b.Keys(Action::Down).push_back(Key("S"));  // as a file from before could have it
  EXPECT_EQ(BindKey(b, Action::Fast, Key("S")), "S MOVED FROM DOWN TO FAST");
  EXPECT_EQ(std::tie(b.Keys(Action::Down), b.Keys(Action::Fast)),
            std::make_tuple(std::vector<int>{Key("DOWN")}, std::vector<int>{Key("S")}));
  // Buttons alike, but pause and fast may go without one.
  EXPECT_EQ(BindButton(b, Action::Pause, pad_button::kSouth), "PAD A MOVED TO PAUSE - FIRE AND CONFIRM HAVE NONE");
  EXPECT_EQ(BindButton(b, Action::Fast, pad_button::kStart), "PAD START MOVED FROM PAUSE TO FAST");
  EXPECT_EQ(b.padPause, std::vector<int>{pad_button::kSouth});
  EXPECT_EQ(BindButton(b, Action::Fast, pad_button::kStart), "PAD START TAKEN FROM FAST");
  EXPECT_EQ(BindButton(b, Action::Fire, pad_button::kBack), "PAD BACK OPENS THE OPTIONS");
  EXPECT_EQ(BindButton(b, Action::Left, pad_button::kWest), "LEFT IS THE STICK");
  // The pad: fire and confirm buttons are the game's button 0; the game's
  // other buttons pass unless an action has them; Back and Start never do.
  b.padFire = {2};
  b.padConfirm = {1};
  JoystickReading pad{true, 5, -7, 0b110011};
  EXPECT_EQ(GameReading(b, pad), (JoystickReading{true, 5, -7, 0b0001}));
  EXPECT_EQ(GameReading(defaults, pad), (JoystickReading{true, 5, -7, 0b0011}));
  // Buttons held when a new shell first looks are an earlier session's press
  // (the page makes a shell for each): neither the shell nor the game takes
  // them until they are let go.
  struct HeldPad : JoystickSource {
    JoystickReading now{true};
    JoystickReading Read() override { return now; }
  } held;
  const uint32_t backAndFire = 1u << pad_button::kBack | 1u << pad_button::kSouth;
  held.now.buttons = backAndFire;
  PadRouter router(&held, defaults);
  EXPECT_FALSE(router.Look().back);
  EXPECT_EQ(router.Read().buttons, 0u);
  held.now.buttons = 0;
  router.Look();
  router.Read();
  held.now.buttons = backAndFire;
  EXPECT_TRUE(router.Look().back);
  EXPECT_EQ(router.Read().buttons, 1u);
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
  EXPECT_EQ(errors, "velloria: " + (dir / "named.ini").string() + " line 2: fit=round: expected whole, fill or auto\n");
  // A byte-order mark in front hides no line: the first is read, and found wrong.
  std::ofstream(dir / "marked.ini", std::ios::binary) << "\xEF\xBB\xBF"
                                                      << "fit=round\n";
  volleys("", " --settings " + (dir / "marked.ini").string());
  EXPECT_EQ(errors,
            "velloria: " + (dir / "marked.ini").string() + " line 1: fit=round: expected whole, fill or auto\n");
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

// Escape asks only in a game or on the continue screen, and only while the
// player wants it asked; a game paused with P stays paused whatever the
// answer (a quit in the name entry: ShellSession.EscapeInARun...).
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
}
