#pragma once

#include "gfx/curtain.h"

class NSprite256;
class Surface;

// The life every front-end scene shares: it opens while the curtain draws
// back, waits for the player, closes behind the curtain again and then shows
// only black until the sequencer replaces it.
class SceneFrame {
 public:
  static constexpr int kFinished = 0;
  static constexpr int kInteractive = 1;
  static constexpr int kOpening = 2;
  static constexpr int kClosing = 3;

  enum class Turn { None, Opened, Closed };

  void Open() { Begin(kOpening); }
  void Close() { Begin(kClosing); }
  // Ends an opening or a closing whose curtain has run out and tells which
  // one ended; an interactive or finished scene stays as it is.
  Turn Advance();
  // One frame of the curtain counter, which stops at 0.
  void Tick() {
    if (counter > 0) --counter;
  }
  // The curtain of an opening or closing scene; nothing when interactive.
  void DrawCurtain(Surface* target) const;

  bool IsInteractive() const { return state == kInteractive; }
  bool IsFinished() const { return state == kFinished; }

 private:
  void Begin(int newState) {
    state = newState;
    counter = kCurtainFrames;
  }

  int state = kFinished;
  int counter = 0;
};

// Space, Enter, keypad Enter or pad button 0 went down this frame.
bool IsConfirmPressed();

// Covers the screen with 80x80 tiles; the pattern drifts one pixel up and
// left per frame and repeats every 80 frames.
void DrawTiledBackground(NSprite256& tile, Surface* target, int frameCounter);
