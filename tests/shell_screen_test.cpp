// What the shell shows and keeps around the game: the fit a screen gets when
// the player chose none, PAUSED over the game's picture dimmed (never the
// game's own), and RESET RANKING from the options.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>

#include "app/app_block.h"
#include "app/ranking.h"
#include "base/frame_clock.h"
#include "gfx/scale.h"
#include "shell/options_menu.h"
#include "shell/settings.h"
#include "shell/settings_file.h"
#include "shell/shell.h"
#include "tests/run_helpers.h"
#include "tests/shell_play.h"

namespace {

// The light of what the player sees and of the game's own picture, at
// each change of the layer, round the band PAUSED stands on; and how much of
// the game's picture shows on the band at all.
struct ShownSpy : Presenter {
  void Present(const Surface& back, const Palette& palette) override {
    own = back;
    colours = palette;
  }
  void SetOverlay(const OverlayView& overlay) override {
    if (!own || !overlay.layer) return;
    auto light = [&](const OverlayView& over) {
      std::vector<uint32_t> out(640 * 480);
      ConvertAndScale(*own, colours, out.data(), 640, 480, 640, over);
      uint64_t sum = 0;
      for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
          uint32_t c = out[static_cast<size_t>(y * 640 + x)];
          bool band = y >= kBandTop && y < kBandBottom;
          if (!band) sum += (c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF);
          if (band && &over == &overlay) onBand[CurrentFrame()] += overlay.layer->At(x, y) == overlay.transparent;
        }
      }
      return sum;
    };
    lights[CurrentFrame()] = {light(overlay), light({})};
  }
  static constexpr int kBandTop = 184;
  static constexpr int kBandBottom = 296;
  std::optional<Surface> own;
  Palette colours{};
  std::map<int64_t, std::pair<uint64_t, uint64_t>> lights;  // shown, own
  std::map<int64_t, int> onBand;                            // the picture's pixels on the band
};

}  // namespace

// Without a fit line the picture is whole where a whole factor fills at
// least three quarters of the height, else as large as fits; a saved fit
// wins, and AUTO chosen again leaves no line behind.
TEST(ShellSession, AFitLeftToTheScreenIsLargeAndSharpAndASavedOneWins) {
  struct FitSpy : Presenter {
    void Present(const Surface&, const Palette&) override {}
    void SetFit(Fit f) override { fit = f; }
    std::optional<Fit> fit;
  };
  struct Case {
    const char* file;
    int outWidth, outHeight, width, factor;
  };
  for (const Case& c : {Case{"", 1366, 768, 1024, 2}, Case{"", 1920, 1080, 1280, 2}, Case{"", 700, 500, 640, 1},
                        Case{"", 854, 640, 640, 1}, Case{"", 854, 641, 854, 2}, Case{"fit=whole\n", 1366, 768, 640, 1},
                        Case{"fit=fill\n", 1920, 1080, 1440, 3}}) {
    TestDir dir("fit");
    std::ofstream(dir / "settings.ini") << c.file;
    SettingsFile file((dir / "settings.ini").string());
    Settings saved = file.Load();
    PlayedHost person;
    DevicesSpy devices;
    FitSpy screen;
    PlatformServices services;
    services.host = &person;
    services.presenter = &screen;
    Shell shell(person, devices, file, saved, saved);
    shell.Wrap(services);
    ASSERT_TRUE(screen.fit) << c.file;
    Placement p = PlacePicture(640, 480, c.outWidth, c.outHeight, *screen.fit);
    EXPECT_EQ(std::tie(p.width, p.factor), std::tie(c.width, c.factor))
        << c.file << " at " << c.outWidth << "x" << c.outHeight;
  }
  TestDir dir("fit-back");
  std::ofstream(dir / "settings.ini") << "fit=fill\nmute=on\n";
  SettingsFile file((dir / "settings.ini").string());
  Settings s = file.Load();
  OptionsMenu menu(s);
  menu.Open();
  for (int i = 0; i < 4; ++i) menu.Press(MenuInput::Down);
  menu.Press(MenuInput::Enter);  // FILL, then AUTO
  ASSERT_TRUE(file.Save(s));
  std::string saved = ReadFile(file.Path());
  EXPECT_EQ(saved.find("fit="), std::string::npos) << saved;
  EXPECT_NE(saved.find("mute=on"), std::string::npos) << saved;
}

// PAUSED, and the options over GET READY, are shown over the game's picture
// dimmed, by the presenter, on a band that leaves nothing of the banner in
// sight: the game's own picture is as it was, so the picture log of the
// session replays headless without the shell.
TEST(ShellSession, PausedAndTheOptionsDimThePictureShownButNeverTheGamesOwn) {
  TestDir dir("paused-dim");
  PlayedHost person;
  person.Press(30, "P");
  person.Press(60, "P");
  person.Press(80, "F1");
  person.Press(100, "F1");
  ShownSpy screen;
  Options options;
  options.frames = 120;
  options.startStage = 1;
  options.startPotions = 500;
  options.seed = 5;
  PlayThroughShell(dir, Settings{}, person, nullptr, screen, options);
  for (int64_t held : {30, 80}) {
    auto light = screen.lights.lower_bound(held);
    ASSERT_TRUE(light != screen.lights.end() && light->first < held + 20) << "nothing shown at " << held;
    auto [shown, own] = light->second;
    EXPECT_GT(own, 0u);
    EXPECT_LT(shown * 2, own) << "the picture is not dimmed at " << held;
    EXPECT_EQ(screen.onBand[light->first], 0) << "the game's picture sticks out at " << held;
  }
  ExpectSameWithoutShell(dir, "--frames 120 --start 1-1:500");
}

// RESET RANKING asks first: any other answer leaves the ranking as it is;
// asked again and answered, the eight default places are in the file.
TEST(ShellSession, ResetRankingAsksThenSavesTheDefaultPlaces) {
  TestDir dir("reset-ranking");
  const std::string path = (dir / "ranking.ini").string();
  SetRankingPlace(RankingPlace::File, path);
  LoadRanking();
  ASSERT_EQ(EnterRanking(5000, NString("HERO")), 0);
  PlayedHost person;
  person.Press(10, "F1");
  person.Press(12, "UP");  // from MUSIC round to RESET RANKING
  person.Press(13, "UP");
  person.Press(15, "RETURN");  // asks
  person.Press(17, "LEFT");    // no answer
  person.Press(19, "RETURN");  // asks again
  person.Press(21, "RETURN");  // answered
  person.Press(23, "F1");
  std::string unanswered;
  person.onPoll = [&] {
    if (CurrentFrame() == 20) unanswered = ReadFile(dir / "ranking.ini");
  };
  ScreenSpy screen;
  Options options;
  options.frames = 30;
  options.startStage = 1;
  options.startPotions = 500;
  options.rankingFile = path;
  PlayThroughShell(dir, Settings{}, person, nullptr, screen, options);
  EXPECT_NE(unanswered.find(",HERO"), std::string::npos) << "reset without an answer";
  std::string reset = ReadFile(dir / "ranking.ini");
  EXPECT_EQ(reset.find("HERO"), std::string::npos) << reset;
  size_t places = 0;
  for (size_t at = reset.find(",KORVA GAMES"); at != std::string::npos; at = reset.find(",KORVA GAMES", at + 1))
    ++places;
  EXPECT_EQ(places, 8u) << reset;
  EXPECT_EQ(GetRankEntry(0).score, 100);
}
