#pragma once

#include <cstdint>

#include "gfx/presenter.h"

struct AppBlock;

// Any key or button during the maker's logo takes the player to the title
// at once. The game is not told: the logo's remaining frames still run, as
// fast as they can, unshown and unheard, so every frame after them and every
// random number are those of a run that waited, and a recorded session
// replays the same. The game's clock runs ahead for it: the shell's clock
// is the loop's, and while skipping it says the next frame is due.
class LogoSkip {
 public:
  static bool InLogo(const AppBlock& app);

  // A key or button went down: true when it skips (and is not the game's).
  bool Take(const AppBlock& app);
  bool Skipping() const { return skipping_; }
  // After each frame: true once the skip has just ended (the title is next).
  bool Look(const AppBlock& app);
  // The loop's clock: the host's, moved on by what the skip ran ahead.
  uint32_t Now(uint32_t hostNow, const AppBlock& app);

 private:
  bool skipping_ = false;
  uint32_t ahead_ = 0;
};

// The presenter the game sees: shows nothing of a skipped logo.
class SkippingPresenter : public Presenter {
 public:
  SkippingPresenter(Presenter& shown, const LogoSkip& skip) : shown_(shown), skip_(skip) {}
  void Present(const Surface& back, const Palette& palette) override {
    if (!skip_.Skipping()) shown_.Present(back, palette);
  }
  void SetOverlay(const OverlayView& overlay) override { shown_.SetOverlay(overlay); }
  void SetFit(Fit fit) override { shown_.SetFit(fit); }

 private:
  Presenter& shown_;
  const LogoSkip& skip_;
};
