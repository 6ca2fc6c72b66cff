#pragma once

#include "shell/overlay.h"

// A pad player's keyboard for the name entry: Up and Down turn a wheel of
// the characters a name takes, fire adds the chosen one, Left rubs out and
// Start finishes. It presses the keys a keyboard would, so the game's entry
// (and a recording) sees only keys.
class LetterPicker {
 public:
  enum class Input { Up, Down, Add, Erase, Finish };

  // Back to A, for a new name.
  void Reset() { at_ = 0; }
  // The key to type for the input; -1 when it only turns the wheel.
  int Press(Input input);
  char Chosen() const;
  // The wheel round chosen, which is in the middle row at (centreX, y).
  static void Draw(Overlay& overlay, int centreX, int y, char chosen);

 private:
  int at_ = 0;
};
