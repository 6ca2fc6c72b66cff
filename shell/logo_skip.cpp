#include "shell/logo_skip.h"

#include "app/app_block.h"

bool LogoSkip::InLogo(const AppBlock& app) {
  return app.sceneState == scene_state::kLogoStart || app.sceneState == scene_state::kLogoRunning;
}

bool LogoSkip::Take(const AppBlock& app) {
  if (!InLogo(app)) return false;
  skipping_ = true;
  return true;
}

bool LogoSkip::Look(const AppBlock& app) {
  if (!skipping_ || InLogo(app)) return false;
  skipping_ = false;
  return true;
}

uint32_t LogoSkip::Now(uint32_t hostNow, const AppBlock& app) {
  uint32_t now = hostNow + ahead_;
  if (!skipping_) return now;
  // The next frame falls due now; the clock never goes back afterwards.
  uint32_t due = app.lastFrameTime + app.frameInterval;
  if (static_cast<int32_t>(due - now) > 0) {
    ahead_ += due - now;
    now = due;
  }
  return now;
}
