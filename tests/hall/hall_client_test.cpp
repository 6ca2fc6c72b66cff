// A run sent from the game to velloria-hall on a loopback port: played
// through the shell by the soak's keys, the question answered by a person.
#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "app/app_block.h"
#include "app/application.h"
#include "app/game_scenes.h"
#include "app/hall_offer.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "base/frame_clock.h"
#include "drivers/input_drivers.h"
#include "input/key_names.h"
#include "platform/net/http_hall_sender.h"
#include "shell/settings_file.h"
#include "shell/shell.h"
#include "tests/hall/hall_process.h"
#include "tests/run_helpers.h"

namespace {

// A person who answers the question with one key once it is asked.
class Person : public FrameClockHost {
 public:
  bool PollEvent(HostEvent& event) override {
    if (onPoll) onPoll();
    if (!due || *due > CurrentFrame()) return false;
    event = {up ? HostEventType::KeyUp : HostEventType::KeyDown, key};
    if (up) due.reset();
    up = !up;
    return true;
  }

  std::function<void()> onPoll;
  std::optional<int64_t> due;
  int key = 0;
  bool up = false;
};

// The desktop's sender, its answer awaited (bounded) before the shell
// looks, so that what the shell shows does not hang on the machine's speed.
class AwaitedSender : public HallSender {
 public:
  void Send(const std::string& url, const std::string& name, const std::string& replay) override {
    ++sends;
    real_->Send(url, name, replay);
  }
  std::optional<HallAnswer> Take() override {
    constexpr int kMaxWaits = 6000;  // a minute
    for (int i = 0; i < kMaxWaits && real_->Sending(); ++i) {
      if (std::optional<HallAnswer> answer = real_->Take()) return answer;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return real_->Take();
  }
  bool Sending() const override { return real_->Sending(); }
  int sends = 0;

 private:
  std::unique_ptr<HallSender> real_ = CreateHttpHallSender();
};

struct Played {
  bool offered = false;
  bool asked = false;
  int sends = 0;
  std::vector<std::string> notices;
};

// The soak's run from a title EPISODE to its name entry and end, with
// answer pressed when a run is offered.
Played PlayThroughShell(const TestDir& dir, const std::string& hall, const char* answer) {
  std::filesystem::remove(dir / "ranking.ini");  // each run enters a fresh ranking
  std::vector<std::string> args = {"velloria",    "--headless",
                                   "--soak",      "6",
                                   "--frames",    "7000",
                                   "--keep-runs", (dir / "kept").string(),
                                   "--ranking",   (dir / "ranking.ini").string()};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  std::string error;
  std::optional<Options> options = ParseOptions(static_cast<int>(argv.size()), argv.data(), error);
  EXPECT_TRUE(options) << error;
  if (!options) return {};
  Person person;
  PlatformServices services;
  services.host = &person;
  struct NoDevices : ShellDevices {
  } devices;
  SettingsFile file("");
  Settings saved;
  saved.hallOfFame = hall;
  Shell shell(person, devices, file, saved, saved);
  shell.Wrap(services);
  AwaitedSender sender;
  shell.SetHallSender(&sender);
  Played played;
  uint32_t offers = LastHallOffer().offers;
  person.onPoll = [&] {
    played.asked = played.asked || shell.AsksToSend();
    const std::string& notice = shell.Notice();
    if (!notice.empty() && (played.notices.empty() || played.notices.back() != notice))
      played.notices.push_back(notice);
    if (LastHallOffer().offers != offers && !played.offered) {
      played.offered = true;
      person.key = *KeyCodeFromName(answer);
      person.due = CurrentFrame() + 2;
    }
  };
  GameSceneFactory scenes;
  std::unique_ptr<InputDriver> driver = MakeInputDriver(*options);
  Application application(*options, services, scenes, driver.get());
  EXPECT_FALSE(application.Start());
  shell.Attach(application.Loop());
  application.Loop().Run();
  application.Finish();
  played.sends = sender.sends;
  return played;
}

bool Arrived(int port) {
  httplib::Client client("127.0.0.1", port);
  httplib::Result run = client.Get("/api/runs/1");
  return run && run->status == 200;
}

}  // namespace

TEST(HallClient, OnlyEnterAtTheQuestionSendsAndTheNoticeTellsThePlace) {
  TestDir dir("hall-client");
  HallProcess hall({"--db", (dir / "hall.db").string(), "--workers", "1"});
  ASSERT_GT(hall.Port(), 0);
  const std::string url = "http://127.0.0.1:" + std::to_string(hall.Port());

  Played refused = PlayThroughShell(dir, url, "SPACE");
  ASSERT_TRUE(refused.offered) << "no run ended from a title EPISODE with a name";
  EXPECT_TRUE(refused.asked);
  EXPECT_EQ(refused.sends, 0);
  EXPECT_FALSE(Arrived(hall.Port()));

  Played unset = PlayThroughShell(dir, "", "RETURN");
  EXPECT_TRUE(unset.offered);
  EXPECT_FALSE(unset.asked);
  EXPECT_EQ(unset.sends, 0);
  EXPECT_FALSE(Arrived(hall.Port()));

  Played sent = PlayThroughShell(dir, url, "RETURN");
  EXPECT_TRUE(sent.asked);
  EXPECT_EQ(sent.sends, 1);
  EXPECT_TRUE(Arrived(hall.Port()));
  EXPECT_NE(std::find(sent.notices.begin(), sent.notices.end(), "HALL OF FAME: 1ST PLACE"), sent.notices.end())
      << ::testing::PrintToString(sent.notices);

  hall.Stop();
  Played down = PlayThroughShell(dir, url, "KP_ENTER");
  EXPECT_EQ(down.sends, 1);
  ASSERT_FALSE(down.notices.empty());
  EXPECT_EQ(down.notices.back(), "NOT SENT: THE HALL CANNOT BE REACHED");
}
