#include "shell/quit_question.h"

#include "app/app_block.h"
#include "input/input.h"

bool QuitQuestion::InRun(const AppBlock& app) {
  using namespace scene_state;
  int s = app.sceneState;
  return s == kGameStart || s == kGameRunning || s == kContinueStart || s == kContinueRunning;
}

// Only the name entry turns the hot keys off.
bool QuitQuestion::TypingName(const AppBlock& app) {
  return app.sceneState == scene_state::kGameRunning && app.hotkeysEnabled == 0;
}

std::vector<HostEvent> QuitQuestion::Escape(const AppBlock& app, bool confirm) {
  if (quitAfterEntry_) return {};  // on its way out already
  if (asking_) {
    asking_ = false;
    return Leave(app, {HostEventType::KeyDown, key::kEscape});
  }
  if (confirm && InRun(app)) {
    asking_ = true;
    // A game paused with P stays paused; otherwise it waits as when the
    // window loses its focus.
    pausedByQuestion_ = !app.paused;
    if (pausedByQuestion_) return {{HostEventType::FocusLost}};
    return {};
  }
  return Leave(app, {HostEventType::KeyDown, key::kEscape});
}

std::vector<HostEvent> QuitQuestion::PlayOn(bool focused) {
  asking_ = false;
  bool resume = pausedByQuestion_ && focused;
  pausedByQuestion_ = false;
  if (resume) return {{HostEventType::FocusGained}};
  return {};
}

std::vector<HostEvent> QuitQuestion::Close(const AppBlock& app) {
  if (quitAfterEntry_) return {};
  asking_ = false;
  return Leave(app, {HostEventType::Quit});
}

std::vector<HostEvent> QuitQuestion::Leave(const AppBlock& app, const HostEvent& quit) {
  if (!TypingName(app)) return {quit};
  // Enter finishes the entry as the player would: the game enters the name
  // typed so far and saves the ranking in the frames that follow. They only
  // run while the game is not held.
  std::vector<HostEvent> events;
  if (app.paused) events.push_back({HostEventType::FocusGained});
  events.push_back({HostEventType::KeyDown, key::kEnter});
  events.push_back({HostEventType::KeyUp, key::kEnter});
  quitAfterEntry_ = quit;
  return events;
}

std::vector<HostEvent> QuitQuestion::Look(const AppBlock& app) {
  // The game leaves its scene only after the entry went into the ranking
  // (on to the continue screen, the title or the ending).
  if (!quitAfterEntry_ || app.sceneState == scene_state::kGameRunning) return {};
  HostEvent quit = *quitAfterEntry_;
  quitAfterEntry_.reset();
  return {quit};
}
