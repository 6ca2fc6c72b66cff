#include "shell/letter_picker.h"

#include <string>

#include "shell/name_letters.h"

namespace {
constexpr int kLetters = static_cast<int>(kNameLetters.size());
constexpr int kShownEachSide = 1;

char LetterAt(int at) { return kNameLetters[static_cast<size_t>((at % kLetters + kLetters) % kLetters)]; }

// The space has no glyph: it is shown by name.
std::string Shown(char c) { return c == ' ' ? "SPACE" : std::string(1, c); }
}  // namespace

int LetterPicker::Press(Input input) {
  switch (input) {
    case Input::Up:
      at_ = (at_ + kLetters - 1) % kLetters;
      return -1;
    case Input::Down:
      at_ = (at_ + 1) % kLetters;
      return -1;
    case Input::Add:
      return KeyTyping(Chosen());
    case Input::Erase:
      return KeyTyping('\b');
    case Input::Finish:
      return KeyTyping('\n');
  }
  return -1;
}

char LetterPicker::Chosen() const { return LetterAt(at_); }

void LetterPicker::Draw(Overlay& overlay, int centreX, int y, char chosen) {
  int at = static_cast<int>(kNameLetters.find(chosen));
  constexpr int kPadding = 6;
  const int width = Overlay::TextWidth("SPACE");
  Rect panel = overlay.PanelFor(width, 2 * kShownEachSide + 1, centreX,
                                y - kShownEachSide * Overlay::kLineHeight - kPadding, kPadding);
  overlay.Highlight({panel.left + 2, y - 2, panel.right - 2, y + NAscii::kGlyphHeight + 2});
  for (int i = -kShownEachSide; i <= kShownEachSide; ++i) {
    overlay.TextCentred(centreX, y + i * Overlay::kLineHeight, Shown(LetterAt(at + i)), i == 0 ? 1 : 0);
  }
}
