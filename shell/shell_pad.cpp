// The pad as the shell reads it: the options, the quit question, the logo
// skip and the name entry's picker, before the game reads what is left.
#include "shell/shell.h"

#include <bit>

#include "app/app_block.h"
#include "base/frame_clock.h"
#include "input/input.h"

void Shell::LookAtPad() {
  if (!pad_.HasPad()) return;
  PadRouter::Presses presses = pad_.Look();
  if (presses.buttons || presses.direction >= 0) padLast_ = true;
  if (optionsOpen_ && menu_.AwaitsKey()) {
    // Only a button answers "press a key or button": the stick moves nothing meanwhile.
    if (!presses.buttons) return;
    Settings before = current_;
    menu_.TakeButton(std::countr_zero(presses.buttons));
    ++menuChanges_;
    Apply(before);
    return;
  }
  if (hallAsking_ && presses.buttons) {
    // The hall's question takes Enter only: a button sends nothing.
    pad_.KeepHeldButtons();
    hallAsking_ = false;
    return;
  }
  if (retry_ && presses.buttons) {
    // Fire or confirm retries, Back leaves for the title; the game sees neither.
    pad_.KeepHeldButtons();
    if (presses.confirm || presses.back) AnswerRetry(presses.confirm);
    return;
  }
  const AppBlock& app = GetAppBlock();
  if (question_.Asking()) {
    // Back quits, any other button plays on; the game sees neither, and the
    // stick moves nothing meanwhile.
    if (!presses.buttons) return;
    pad_.KeepHeldButtons();
    Push(presses.back ? question_.Escape(app, true) : question_.PlayOn(focused_));
    return;
  }
  if (presses.back) {
    ToggleOptions();
    return;
  }
  if (optionsOpen_) {
    if (presses.confirm) Menu(MenuInput::Enter);
    switch (presses.direction) {
      case 0:
        Menu(MenuInput::Right);
        break;
      case 8:
        Menu(MenuInput::Up);
        break;
      case 16:
        Menu(MenuInput::Left);
        break;
      case 24:
        Menu(MenuInput::Down);
        break;
      default:
        break;
    }
  } else if (nameEntry_.Entering()) {
    PadInNameEntry(presses);
  } else if (presses.buttons && skip_.Take(app)) {
    pad_.KeepHeldButtons();
    SkipLogo(true);
  } else if (app.hotkeysEnabled) {
    // The pad's pause and fast buttons are the game's own keys, recorded as such.
    for (auto [pressed, key] : {std::pair{presses.pause, key::kP}, {presses.fast, key::kS}}) {
      if (!pressed) continue;
      pending_.push_back({HostEventType::KeyDown, key});
      pending_.push_back({HostEventType::KeyUp, key});
    }
  }
}

void Shell::PadInNameEntry(const PadRouter::Presses& presses) {
  using Input = LetterPicker::Input;
  // Up or Down held turns the wheel on by itself, as a key repeats.
  constexpr int64_t kRepeatAfter = 10;
  constexpr int64_t kRepeatEvery = 3;
  int64_t frame = CurrentFrame();
  if (presses.direction >= 0) heldSince_ = frame;
  int64_t held = frame - heldSince_;
  bool repeat = presses.direction < 0 && held >= kRepeatAfter && held % kRepeatEvery == 0 && frame != repeatedAt_;
  if (repeat) repeatedAt_ = frame;
  int turn = repeat ? presses.held : presses.direction;
  if (turn == 8) nameEntry_.Press(Input::Up);
  if (turn == 24) nameEntry_.Press(Input::Down);
  if (presses.direction == 16) nameEntry_.Press(Input::Erase);
  if (presses.fire) nameEntry_.Press(Input::Add);
  if (presses.pause || (presses.buttons & (1u << pad_button::kStart))) nameEntry_.Press(Input::Finish);
}
