#pragma once

#include <memory>

#include "base/nstring.h"
#include "gfx/ascii.h"
#include "gfx/sprite256.h"

// The name entry after a game that ranks: a box with a prompt over a black
// screen and an input field below it. Typing takes capitals, digits, '-',
// '.' and spaces up to the limit; Backspace or Left removes the last
// character; Enter finishes, also with an empty name. While it runs the hot
// keys are off, so P and S are letters; Escape still quits.
class NInputText {
 public:
  static constexpr int kIdle = 0;
  static constexpr int kEntering = 1;
  static constexpr int kFinished = 2;

  NInputText();
  virtual ~NInputText();

  void SetSurface(Surface* surface);
  void SetPrompt(const NString& newPrompt) { prompt = newPrompt; }
  // Places the box in the middle of the screen for the current prompt.
  void CenterOnScreen();
  void SetText(const NString& initial, int limit);
  // Starts typing: drops keys typed before (during play) and turns the hot
  // keys off.
  void Begin();
  // One frame: handles the typed characters, then draws on black.
  void Update();
  bool IsFinished() const { return state == kFinished; }
  const NString& GetText() const { return text; }
  int GetX() const { return x; }
  int GetY() const { return y; }

 private:
  void Handle(char c);
  void Draw();

  Surface* backBuffer = nullptr;
  std::unique_ptr<NSprite256> cursor;
  std::unique_ptr<NSprite256> lowerLeft, lowerMiddle, lowerRight;
  std::unique_ptr<NSprite256> upperLeft, upperMiddle, upperRight;
  std::unique_ptr<NAscii> font;
  int x = 0;
  int y = 0;
  int maxLength = 10;
  NString prompt;
  NString text;
  int state = kIdle;
};
