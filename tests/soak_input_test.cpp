#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/app_block.h"
#include "app/sequencer.h"
#include "app/soak_input.h"
#include "input/input.h"

namespace {

std::vector<HostEvent> Collect(SoakInput& soak, int frames) {
  std::vector<HostEvent> all;
  for (int f = 0; f < frames; ++f) {
    for (const HostEvent& e : soak.Step(f)) all.push_back(e);
  }
  return all;
}

bool Same(const std::vector<HostEvent>& a, const std::vector<HostEvent>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].type != b[i].type || a[i].key != b[i].key) return false;
  }
  return true;
}

}  // namespace

TEST(SoakInput, ASeedGivesTheSameEventsEveryTimeAndAnotherSeedOthers) {
  ResetAppBlock();
  GetAppBlock().sceneState = scene_state::kGameRunning;
  SoakInput a(11);
  SoakInput b(11);
  SoakInput c(12);
  auto ea = Collect(a, 3000);
  EXPECT_GT(ea.size(), 500u);
  EXPECT_TRUE(Same(ea, Collect(b, 3000)));
  EXPECT_FALSE(Same(ea, Collect(c, 3000)));
}

TEST(SoakInput, InAGameItPressesAndReleasesEveryKindOfKeyButNeverEscape) {
  ResetAppBlock();
  AppBlock& app = GetAppBlock();
  app.sceneState = scene_state::kGameRunning;
  SoakInput soak(3);
  std::set<int> down;
  std::set<int> seen;
  int focusLost = 0;
  int focusGained = 0;
  for (int f = 0; f < 40000; ++f) {
    for (const HostEvent& e : soak.Step(f)) {
      switch (e.type) {
        case HostEventType::KeyDown:
          ASSERT_NE(e.key, key::kEscape);
          ASSERT_TRUE(down.insert(e.key).second) << "pressed twice without release: " << e.key;
          seen.insert(e.key);
          // P pauses and resumes the way the main loop does it.
          if (e.key == key::kP) app.paused = !app.paused;
          break;
        case HostEventType::KeyUp:
          ASSERT_EQ(down.erase(e.key), 1u) << "released without press: " << e.key;
          break;
        case HostEventType::FocusLost:
          ++focusLost;
          app.paused = 1;
          break;
        case HostEventType::FocusGained:
          ++focusGained;
          app.paused = 0;
          break;
        default:
          ADD_FAILURE() << "unexpected event type";
      }
    }
  }
  for (int key : {key::kLeft, key::kRight, key::kUp, key::kDown, key::kSpace, key::kLeftControl, key::kRightControl,
                  key::kEnter, key::kKeypadEnter, key::kBackspace, key::kP, key::kS, 0x1E, 0x2C}) {
    EXPECT_TRUE(seen.count(key)) << "never pressed: " << key;
  }
  EXPECT_GT(focusLost, 5);
  EXPECT_GE(focusGained, focusLost - 1);
}

TEST(SoakInput, InTheTitleMenuItStaysClearOfTheExitItem) {
  // The exit is the fifth item: Up from the first wraps to it, and four
  // Downs reach it. Each visit to the title starts from the first item.
  ResetAppBlock();
  AppBlock& app = GetAppBlock();
  SoakInput soak(5);
  int confirms = 0;
  for (int visit = 0; visit < 20; ++visit) {
    app.sceneState = scene_state::kGameRunning;
    soak.Step(0);
    app.sceneState = scene_state::kTitleRunning;
    int downs = 0;
    for (int f = 0; f < 2000; ++f) {
      for (const HostEvent& e : soak.Step(f)) {
        ASSERT_NE(e.key, key::kEscape);
        if (e.type != HostEventType::KeyDown) continue;
        ASSERT_NE(e.key, key::kUp);
        if (e.key == key::kDown) ++downs;
        if (e.key == key::kEnter || e.key == key::kKeypadEnter || e.key == key::kSpace) ++confirms;
      }
    }
    EXPECT_LE(downs, 3) << "visit " << visit;
  }
  EXPECT_GT(confirms, 20);
}
