#include "shell/shell_screen.h"

#include "shell/shell_hints.h"

namespace {

constexpr int kCentreX = 320;
constexpr int kNoticeTop = 34;     // below the status row
constexpr int kFastCentreX = 410;  // between the power and stage labels
constexpr int kSmallPadding = 4;

}  // namespace

void DrawShellScreen(const ShellScreen& screen, const OptionsMenu& menu, Overlay& overlay) {
  overlay.Clear();
  if (screen.options) {
    menu.Draw(overlay, screen.touch, screen.pad);
  } else if (screen.quitQuestion) {
    DrawQuitQuestion(overlay, screen.typingName, screen.pad);
  } else if (screen.paused) {
    std::string keys = screen.touch ? "TAP PAUSE TO RESUME"
                       : screen.pad ? screen.pauseKey + " RESUME  BACK OPTIONS"
                                    : screen.pauseKey + " RESUME  F1 OPTIONS  ESC QUIT";
    DrawPaused(overlay, keys);
  }
  // The question stands where the entry's keys were: they do nothing meanwhile.
  if (!screen.options) DrawNameEntry(screen.nameEntry, overlay, !screen.quitQuestion);
  if (screen.fast && !screen.options) {
    Rect panel = overlay.PanelFor(Overlay::TextWidth("FAST"), 1, kFastCentreX, 0, kSmallPadding);
    overlay.Text(panel.left + kSmallPadding, panel.top + kSmallPadding, "FAST", 1);
  }
  if (screen.titleHint && !screen.options) DrawTitleHint(overlay, screen.pad);
  if (!screen.notice.empty()) {
    Rect panel = overlay.PanelFor(Overlay::TextWidth(screen.notice), 1, kCentreX, kNoticeTop, kSmallPadding + 4);
    overlay.Text(panel.left + kSmallPadding + 4, panel.top + kSmallPadding + 4, screen.notice, 0);
  }
}
