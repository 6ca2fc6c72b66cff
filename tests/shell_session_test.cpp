// Sessions played through the shell (options, pause, the name entry, the
// logo skip, the quit question, a pad) whose recordings must replay headless
// without it, frame for frame.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/app_block.h"
#include "app/ranking.h"
#include "app/shutdown.h"
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
  bool typed = false;
  for (int i = 0; i < kRankEntries; ++i) typed = typed || std::string(GetRankEntry(i).name) == "Z";
  EXPECT_TRUE(typed) << "the name entry did not take the letter of the fire key";

  std::string session = ReadFile(dir / "session.txt");
  EXPECT_EQ(session.rfind("# velloria session\nseed 3\nhold-to-fire on\n200 +SPACE\n221 -SPACE\n260 focus-\n"
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

// CONTROLS through the shell, one key one meaning: S, under DOWN (and not
// FAST), given to FAST leaves DOWN and then only makes the game fast; the
// pad's X, given to FIRE with the pad alone, then fires.
TEST(ShellSession, ControlsMoveAKeyAndBindAPadButtonThatThenActs) {
  TestDir dir("controls");
  Settings saved;
  saved.bindings.Keys(Action::Down) = {Key("DOWN"), Key("S")};
  saved.bindings.Keys(Action::Fast) = {Key("F")};
  PlayedHost person;
  person.Press(100, "F1");
  int64_t f = 101;
  for (int i = 0; i < 5; ++i) person.Press(f++, "DOWN");  // to CONTROLS
  person.Press(f++, "RETURN");
  for (int i = 0; i < 7; ++i) person.Press(f++, "DOWN");  // to FAST
  person.Press(f++, "RETURN");
  person.Press(f++, "S");
  person.Press(200, "S");
  PlayedPad pad;  // from frame 130: up three to FIRE, A, X, Back; then X in play
  pad.ready = [] { return CurrentFrame() >= 130; };
  pad.steps = {kUp,
               kUp,
               kUp,
               PlayedPad::Button(pad_button::kSouth),
               PlayedPad::Button(pad_button::kWest),
               PlayedPad::Button(pad_button::kBack),
               kRest,
               kRest,
               kRest,
               PlayedPad::Button(pad_button::kWest)};
  ScreenSpy screen;
  Options options;
  options.frames = 230;
  options.startStage = 1;
  options.seed = 3;
  PlayThroughShell(dir, saved, person, &pad, screen, options);
  std::string settings = ReadFile(dir / "settings.ini");
  for (const char* line : {"\nkey-down=DOWN\n", "\nkey-fast=F,S\n", "\npad-fire=0,2\n"}) {
    EXPECT_NE(settings.find(line), std::string::npos) << line << " not in\n" << settings;
  }
  EXPECT_EQ(FramesOf(ReadFile(dir / "sounds-live"), " play 0"), std::vector<int64_t>{pad.start + 36});
  std::string session = ReadFile(dir / "session.txt");
  EXPECT_NE(session.find("\n200 +S\n"), std::string::npos) << session;
  EXPECT_EQ(session.find("DOWN"), std::string::npos) << session;
  EXPECT_EQ(screen.CoverAt(199), 0);
  EXPECT_GT(screen.CoverAt(201), 0) << "no FAST";
  ExpectSameWithoutShell(dir, "--frames 230 --start 1-1");
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
  EXPECT_EQ(ReadFile(dir / "session.txt"), "# velloria session\nseed 1\n");
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
// ranking and remembered for the next entry, and only then does the program
// end. The session replays headless to the same frames and the same ranking.
// With CONFIRM QUIT off, closing the window in the name entry keeps the name
// too.
TEST(ShellSession, EscapeInARunAsksAndAQuitInTheNameEntryKeepsTheName) {
  TestDir dir("quit");
  SettingsFile file((dir / "settings.ini").string());
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
  EXPECT_NE(ReadFile(dir / "settings.ini").find("\nname=HERO\n"), std::string::npos) << "the name kept is remembered";
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
    return ReadFile(dir / "session.txt");
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
