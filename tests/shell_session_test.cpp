// Sessions played through the shell (options, pause, the name entry, the
// logo skip, the quit question, a pad) whose recordings must replay headless
// without it, frame for frame.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/app_block.h"
#include "app/application.h"
#include "app/game_scenes.h"
#include "app/ranking.h"
#include "app/replay_shelf.h"
#include "app/run_start.h"
#include "app/shelf_edit.h"
#include "app/shutdown.h"
#include "app/state_check.h"
#include "app/stats_log.h"
#include "base/frame_clock.h"
#include "input/input.h"
#include "shell/bindings.h"
#include "shell/settings.h"
#include "shell/settings_file.h"
#include "tests/run_helpers.h"
#include "tests/shell_play.h"

// Fire on Z and hold to fire on, a session with the options opened in the
// middle of a game (and again over a P pause, which they leave as it was),
// and a name typed with Z: recorded through the shell, it replays headless
// without it, frame for frame, picture for picture, sound for sound.
TEST(ShellSession, OptionsOpenedMidGameReplayHeadlessFrameForFrame) {
  TestDir dir("shell-session");
  Settings saved;
  saved.bindings.Keys(Action::Fire) = {Key("Z")};
  saved.holdToFire = true;
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
  Options options;
  options.frames = 1000;
  options.startStage = 1;
  options.startPotions = 500;
  options.seed = 3;
  // The name entry's result cannot be kept: the player is told on the picture.
  std::filesystem::create_directories(dir / "locked");
  std::filesystem::permissions(dir / "locked", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  options.rankingFile = (dir / "locked" / "ranking.ini").string();
  ::testing::internal::CaptureStderr();
  PlayThroughShell(dir, saved, person, nullptr, screen, options);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot save the ranking"), std::string::npos);

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
  EXPECT_NE(ReadFile(dir / "settings.ini").find("\nsound-volume=10\n"), std::string::npos);
  // The overlay lay over the picture while the options and the pause held the
  // game, the volume's notice for two seconds, and nothing once play went on.
  EXPECT_GT(screen.CoverAt(263), screen.CoverAt(266));
  EXPECT_GT(screen.CoverAt(266), 0);
  EXPECT_GT(screen.CoverAt(302), 0);
  EXPECT_GT(screen.CoverAt(312), 0);
  EXPECT_EQ(screen.CoverAt(321), 0);
  EXPECT_TRUE(std::any_of(screen.covers.lower_bound(900), screen.covers.end(), [](auto& c) { return c.second > 0; }))
      << "no RANKING NOT SAVED";

  ExpectSameWithoutShell(dir, "--frames 1000 --start 1-1:500");
}

// A pad player at the name entry: the remembered name is typed in for them,
// Left rubs out its last letter, Down and fire add a B, Start ends it. The
// name reaches the ranking and is remembered in its turn; the panel, then
// the picker too, lie over the entry; typed as keys, the session replays
// without the shell.
TEST(ShellSession, APadPlayerTypesANameWithThePickerOverTheRememberedOne) {
  TestDir dir("pad-name");
  Settings saved;
  saved.name = "HERO";
  PlayedPad pad;
  pad.ready = [] { return GetAppBlock().hotkeysEnabled == 0; };
  pad.steps = {
      kRest, kRest, kLeft, kDown, PlayedPad::Button(pad_button::kSouth), kRest, PlayedPad::Button(pad_button::kStart)};
  PlayedHost person;
  ScreenSpy screen;
  Options options;
  options.frames = 900;
  options.startStage = 1;
  options.startPotions = 500;
  options.seed = 3;
  options.rankingFile = (dir / "ranking.ini").string();
  PlayThroughShell(dir, saved, person, &pad, screen, options);
  EXPECT_EQ(std::string(GetRankEntry(0).name), "HERB");
  EXPECT_EQ(GetRankEntry(0).score, 500);
  EXPECT_NE(ReadFile(dir / "settings.ini").find("\nname=HERB\n"), std::string::npos) << ReadFile(dir / "settings.ini");
  std::string session = ReadFile(dir / "session.txt");
  for (const char* typed : {" +H\n", " +O\n", " +BACKSPACE\n", " +B\n", " +RETURN\n"}) {
    EXPECT_NE(session.find(typed), std::string::npos) << typed << " not typed in\n" << session;
  }
  ASSERT_GT(pad.start, 0);
  int panel = screen.CoverAt(pad.start + 1);
  EXPECT_GT(panel, 0);
  EXPECT_GT(screen.CoverAt(pad.start + 9), panel) << "no picker once the pad was used";
  EXPECT_EQ(screen.CoverAt(pad.start + 40), 0);
  ExpectSameWithoutShell(dir, "--frames 900 --start 1-1:500");
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
  EXPECT_EQ(devices.heard,
            (std::vector<std::tuple<int, int, bool>>{
                {kMaxVolume, kMaxVolume, false}, {kMaxVolume, 0, false}, {kMaxVolume, kMaxVolume, false}}));
  EXPECT_EQ(devices.silenced, 1);
  EXPECT_EQ(screen.CoverAt(200), 0);
  EXPECT_GT(screen.CoverAt(300), 0) << "no F1 OPTIONS on the title";
  EXPECT_EQ(RecordedEvents(dir / "session.txt"), "# velloria session\nseed 1\n");
  ExpectPicturesOf(dir, "--frames 400");
  ExpectPicturesOf(dir, "--frames 400 --input " + (dir / "session.txt").string());
}

// Escape in a game asks; any other key plays on and is nobody's; F1, then
// Escape closing the options, then Escape asks again. In the name entry
// HERO, then Escape twice: the entry is finished with HERO, kept in the
// ranking and remembered for the next entry, and only then does the program
// end. The session replays headless to the same frames and the same ranking.
// With CONFIRM QUIT off, closing the window in the name entry keeps the name
// too.
TEST(ShellSession, EscapeInARunAsksAndAQuitInTheNameEntryKeepsTheName) {
  TestDir dir("quit");
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
    Options options;
    options.frames = 5000;
    options.startStage = 1;
    options.startPotions = 500;
    options.seed = 3;
    options.rankingFile = (dir / "ranking.ini").string();
    PlayThroughShell(dir, saved, person, nullptr, screen, options);
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
  EXPECT_NE(ReadFile(dir / "settings.ini").find("\nname=HERO\n"), std::string::npos) << "the name kept is remembered";
  std::vector<StatsLine> live = ReadStats(dir / "stats-live");
  ASSERT_FALSE(live.empty());
  EXPECT_LT(live.size(), 5000u) << "the program did not end";
  std::filesystem::remove(dir / "ranking.ini");
  ExpectSameWithoutShell(dir, "--frames 5000 --start 1-1:500 --ranking " + (dir / "ranking.ini").string());
  EXPECT_NE(ReadFile(dir / "ranking.ini").find(",HERO"), std::string::npos);

  Settings unasked;
  unasked.confirmQuit = false;
  std::filesystem::remove(dir / "ranking.ini");
  PlayedHost closing;
  play(unasked, closing, "AB", {HostEventType::Quit});
  EXPECT_EQ(std::string(GetRankEntry(0).name), "AB");
  EXPECT_NE(ReadFile(dir / "ranking.ini").find(",AB"), std::string::npos);
  EXPECT_NE(ReadFile(dir / "settings.ini").find("\nname=AB\n"), std::string::npos);
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
  ExpectPicturesOf(dir, "--frames 300");

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

// A run played through the shell is kept by itself: its file replays headless
// without the shell, picture for picture, the pause, the options, the name
// typed and the continue taken with it.
TEST(ShellSession, ARunKeptThroughTheShellReplaysHeadlessPictureForPicture) {
  TestDir dir("kept-through-shell");
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
  ScreenSpy screen;
  Options options;
  options.frames = 1806;  // the run ends at this frame, back at the title
  options.startStage = 4;
  options.startLevel = 5;
  options.startPotions = 60;
  options.seed = 7;
  options.keepFolder = (dir / "runs").string();
  PlayThroughShell(dir, Settings{}, person, nullptr, screen, options);
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
  ExpectPicturesOf(dir, "--input " + (dir / "runs" / runs[0].file).string());
}

// A watched replay shows REPLAY and plays alone: the player's keys, pauses
// and options leave it as the file has it, picture for picture; P holds the
// replay itself, outside the game (headless, nothing waits).
TEST(ShellSession, AWatchedReplayTakesNoneOfThePlayersInput) {
  TestDir dir("watched");
  std::ofstream(dir / "run.txt") << "run start 1-1:0\nrandom 5\n100 +RIGHT\n140 -RIGHT\n200 +SPACE\n201 -SPACE\n";
  SettingsFile file((dir / "settings.ini").string());
  PlayedHost person;
  for (const char* key : {"LEFT", "F1", "SPACE"}) person.Press(150, key, 160);
  person.Press(150, "P");  // holds the replay (REPLAY PAUSED) ...
  person.Press(155, "P");  // ... and lets it go on
  person.events.push_back({170, {HostEventType::FocusLost}});
  ScreenSpy screen;
  ShellDevices none;
  Options options;
  options.headless = true;
  options.frames = 300;
  options.watch = true;
  options.inputFile = (dir / "run.txt").string();
  options.pictureLog = (dir / "pictures-live").string();
  PlayThroughShell(options, person, screen, none, file, Settings{});
  EXPECT_GT(screen.CoverAt(10), 0) << "no REPLAY";
  EXPECT_GT(screen.CoverAt(152), screen.CoverAt(10)) << "no REPLAY PAUSED";
  EXPECT_EQ(screen.CoverAt(165), screen.CoverAt(10)) << "the options or PAUSED came up";
  ExpectPicturesOf(dir, "--frames 300 --input " + (dir / "run.txt").string());
}

// A run that cannot be kept, in a folder that cannot be made or with no
// data folder at all, is told on the picture when it ends, and why on
// standard error; play goes on.
TEST(ShellSession, ARunThatCannotBeKeptShowsANotice) {
  TestDir dir("unkept");
  std::ofstream(dir / "not-a-folder") << "x";
  for (const std::string& folder : {(dir / "not-a-folder" / "runs").string(), std::string()}) {
    SettingsFile file((dir / "settings.ini").string());
    PlayedHost person;
    ScreenSpy screen;
    ShellDevices none;
    Options options;
    options.headless = true;
    options.frames = 1000;
    options.startStage = 4;
    options.startLevel = 5;  // boss 4 ends a game without potions at once
    options.keepFolder = folder;
    options.keepWithoutFolder = folder.empty();
    ::testing::internal::CaptureStderr();
    PlayThroughShell(options, person, screen, none, file, Settings{});
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("velloria: cannot keep the run in "), std::string::npos)
        << folder;
    EXPECT_EQ(screen.CoverAt(600), 0) << folder;
    EXPECT_TRUE(std::any_of(screen.covers.lower_bound(700), screen.covers.end(), [](auto& c) { return c.second > 0; }))
        << folder << ": no REPLAY NOT SAVED";
  }
}

// Every line of every options page is reached and changed, first with keys
// from the title (a volume given on the command line beside the saved one,
// then a PRACTICE run and the title after it), then with a pad alone (the
// practice run kept in REPLAYS, A held as BACK closes the options). What
// each walk changed is what the file keeps, each volume is what the devices
// hear through every session, and the ranking is reset both times.
TEST(ShellSession, EveryOptionsLineIsReachedAndChangedWithKeysAndWithAPad) {
  TestDir dir("walk");
  const std::string ranking = "[Software\\KorvaGames\\Velloria]\nRank0=9999,MINE\n";
  Options options;
  options.toTitle = true;
  options.seed = 3;
  options.keepFolder = (dir / "runs").string();
  options.rankingFile = (dir / "ranking.ini").string();
  auto expectLines = [&](std::initializer_list<const char*> lines) {
    const std::string settings = "\n" + ReadFile(dir / "settings.ini");
    for (const char* line : lines) EXPECT_NE(settings.find(line), std::string::npos) << line << " not in\n" << settings;
    EXPECT_EQ(ReadFile(dir / "ranking.ini").find("MINE"), std::string::npos) << "RESET RANKING did not reset";
  };
  Settings saved;
  saved.fullScreen = false;
  saved.name = "HERO";
  saved.reached = {3, 0, 0, 5};
  saved.bindings.Keys(Action::Fast) = {Key("F")};
  std::ofstream(dir / "ranking.ini") << ranking;
  PlayedHost person;
  auto keys = [&](int64_t frame, std::initializer_list<const char*> names) {
    for (const char* name : names) person.Press(frame, name);
  };
  keys(10, {"F1", "LEFT", "DOWN", "RETURN", "DOWN", "RETURN", "RETURN", "DOWN", "RETURN", "DOWN", "RETURN", "DOWN"});
  keys(10, {"RETURN", "UP", "UP", "RETURN", "DOWN", "DOWN"});  // CONTROLS: DEFAULT KEYS, then from LEFT
  for (const char* key : {"J", "L", "I", "K", "Z", "X", "Q", "W"}) keys(10, {"RETURN", key, "DOWN"});
  keys(10, {"DOWN", "RETURN", "DOWN", "RETURN", "DOWN", "RETURN", "DOWN", "RETURN", "DOWN"});
  keys(10, {"RETURN", "LEFT", "RETURN", "DOWN", "DOWN", "RETURN", "RETURN", "DOWN", "RETURN"});  // REPLAYS to BACK
  keys(10, {"F1", "UP", "UP", "UP", "RETURN", "LEFT", "DOWN", "RIGHT", "DOWN", "LEFT", "DOWN", "RETURN"});  // PRACTICE
  keys(100, {"F1", "DOWN", "RIGHT", "ESCAPE"});                   // in the practice run
  keys(120, {"W", "K", "Z"});                                     // FAST, DOWN and FIRE as the game's keys
  keys(300, {"ESCAPE"});                                          // asks no more: back to the title
  keys(310, {"F1", "UP", "UP", "UP", "UP", "RETURN", "RETURN"});  // WATCH the practice run
  // In the watch at once, before the last Return goes up: S twice, 16x and unheard.
  for (int i = 0; i < 2; ++i) person.events.insert(person.events.end() - 1, {5, {HostEventType::KeyDown, Key("S")}});
  options.frames = 400;
  options.musicVolume = 30;
  ScreenSpy screen;
  DevicesSpy devices;
  PlayThroughShell(dir, saved, person, nullptr, screen, options, &devices);
  expectLines({"\nmusic-volume=20\n", "\nsound-volume=10\n", "\nmute=off\n", "\ndisplay=fullscreen\n", "\nfit=whole\n",
               "\nkey-left=LEFT,J\n", "\nkey-right=RIGHT,L\n", "\nkey-up=UP,I\n", "\nkey-down=DOWN,K\n",
               "\nkey-fire=SPACE,LCTRL,RCTRL,Z\n", "\nkey-confirm=RETURN,KP_ENTER,SPACE,X\n", "\nkey-pause=P,Q\n",
               "\nkey-fast=S,W\n", "\nhold-to-fire=on\n", "\nremember-name=off\n", "\nname=\n",
               "\nconfirm-quit=off\n"});
  EXPECT_EQ(devices.heard, (std::vector<std::tuple<int, int, bool>>{{30, 100, false},
                                                                    {20, 100, false},
                                                                    {20, 0, false},
                                                                    {20, 0, true},
                                                                    {20, 0, false},
                                                                    {20, 10, false},
                                                                    {20, 10, false},
                                                                    {20, 10, true},
                                                                    {20, 10, false}}));
  std::vector<ShelfEntry> runs = ReadShelf(dir / "runs");
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].start, (StartPoint{StartKind::Practice, 0, 4, 2, 250}));
  const std::string practice = ReadFile(dir / "runs" / runs[0].file);
  EXPECT_NE(practice.find("\n120 +S\n120 -S\n120 +DOWN\n120 -DOWN\n120 +SPACE\n120 -SPACE\n"), std::string::npos)
      << practice;

  std::ofstream(dir / "ranking.ini") << ranking;
  PlayedPad pad;
  pad.ready = [] { return CurrentFrame() >= 60; };  // the title open
  const JoystickReading kA = PlayedPad::Button(pad_button::kSouth);
  const JoystickReading kRight = PlayedPad::Stick(joy::kAxisMax, 0);
  // The main page down to CONTROLS; there DEFAULT KEYS, then up from FAST
  // a button for each action (the directions refuse one: the stick has them).
  const JoystickReading kBack = PlayedPad::Button(pad_button::kBack);
  const JoystickReading kX = PlayedPad::Button(pad_button::kWest);
  pad.steps = {kBack, kLeft, kDown, kRight, kDown, kA, kDown, kA, kA, kDown, kA, kDown, kA, kUp, kUp, kA};
  for (int button : {7, 6, pad_button::kNorth, pad_button::kWest, 8, 8, 8, 8}) {
    pad.steps.insert(pad.steps.end(), {kUp, kA, PlayedPad::Button(button)});
  }
  // BACK to the main page and on: REPLAYS' KEEP, PRACTICE and back, RESET
  // RANKING twice, BACK; a while later X.
  pad.steps.insert(pad.steps.end(),
                   {kUp, kA,    kDown, kA,    kDown, kA,    kDown, kA, kDown, kA, kRight, kA,    kLeft, kLeft,
                    kA,  kDown, kA,    kDown, kDown, kDown, kDown, kA, kDown, kA, kA,     kDown, kA});
  pad.steps.resize(pad.steps.size() + 20, kRest);  // longer than the title takes to leave
  pad.steps.push_back(kX);
  PlayedHost nobody;
  options.musicVolume.reset();
  options.frames = 500;
  Settings before = SettingsFile((dir / "settings.ini").string()).Load();
  PlayThroughShell(dir, before, nobody, &pad, screen, options);
  expectLines({"\nmusic-volume=10\n", "\nsound-volume=20\n", "\nmute=on\n", "\ndisplay=window\n", "\nfit=fill\n",
               "\nkey-left=LEFT\n", "\nkey-fast=S\n", "\npad-fire=0,2\n", "\npad-confirm=0,3\n", "\npad-pause=5,6\n",
               "\npad-fast=7\n", "\nhold-to-fire=off\n", "\nremember-name=on\n", "\nconfirm-quit=on\n"});
  EXPECT_TRUE(ReadShelf(dir / "runs").at(0).kept) << "KEEP in REPLAYS";
  // The A that closed the options stays the shell's; X, given to FIRE, then starts a game.
  std::vector<StatsLine> stats = ReadStats(dir / "stats-live");
  auto game = std::find_if(stats.begin(), stats.end(), [](StatsLine& line) {
    return line.at("scene") != StatsLog::Value(scene_state::kTitleRunning);
  });
  int64_t x = pad.start + 4 * static_cast<int64_t>(pad.steps.size() - 1);
  EXPECT_GT(game - stats.begin(), x);
  EXPECT_NE(game, stats.end());
}
