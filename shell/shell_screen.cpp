#include "shell/shell_screen.h"

#include "shell/shell_hints.h"

namespace {

constexpr int kCentreX = 320;
constexpr int kNoticeTop = 34;     // below the status row
constexpr int kFastCentreX = 410;  // between the power and stage labels
constexpr int kSmallPadding = 4;
constexpr int kReplayCentreX = 576;  // right of the lives
constexpr int kReplayTop = 450;
constexpr int kHallQuestionTop = 196;  // where PAUSED stood, mid-picture

}  // namespace

void DrawShellScreen(const ShellScreen& screen, const OptionsMenu& menu, Overlay& overlay) {
  overlay.Clear();
  if (screen.options) {
    if (screen.optionsInPlay) DrawPlayBand(overlay);
    menu.Draw(overlay, screen.touch, screen.pad);
  } else if (screen.quitQuestion) {
    DrawQuitQuestion(overlay, screen.typingName, screen.pad);
  } else if (!screen.retryAnswers.empty()) {
    DrawRetryQuestion(overlay, screen.retryAnswers);
  } else if (screen.hallQuestion) {
    constexpr std::string_view kAsk = "SEND TO THE HALL OF FAME?";
    // The page's OK button is its Enter.
    std::string_view keys = screen.touch ? "OK SENDS" : "ENTER SENDS";
    Rect panel = overlay.PanelFor(Overlay::TextWidth(kAsk), 3, kCentreX, kHallQuestionTop);
    int y = panel.top + Overlay::kPadding;
    overlay.TextCentred(kCentreX, y, kAsk, 1);
    overlay.TextCentred(kCentreX, y + 2 * Overlay::kLineHeight, keys, 0);
  } else if (screen.paused) {
    std::string keys = screen.touch ? "TAP PAUSE TO RESUME"
                       : screen.pad ? screen.pauseKey + " RESUME  BACK OPTIONS"
                                    : screen.pauseKey + " RESUME  F1 OPTIONS  ESC QUIT";
    DrawPaused(overlay, keys);
  }
  // The question stands where the entry's keys were: they do nothing meanwhile.
  if (!screen.options && screen.retryAnswers.empty()) DrawNameEntry(screen.nameEntry, overlay, !screen.quitQuestion);
  if (screen.fast && !screen.options) {
    Rect panel = overlay.PanelFor(Overlay::TextWidth("FAST"), 1, kFastCentreX, 0, kSmallPadding);
    overlay.Text(panel.left + kSmallPadding, panel.top + kSmallPadding, "FAST", 1);
  }
  if (screen.titleHint && !screen.options) DrawTitleHint(overlay, screen.pad);
  if (screen.replay && !screen.options) {
    std::string label = screen.replayPace.empty() ? "REPLAY" : "REPLAY " + screen.replayPace;
    // A longer label grows leftwards, its right edge where REPLAY's is.
    int centreX = kReplayCentreX - (Overlay::TextWidth(label) - Overlay::TextWidth("REPLAY")) / 2;
    Rect panel = overlay.PanelFor(Overlay::TextWidth(label), 1, centreX, kReplayTop, kSmallPadding);
    overlay.Text(panel.left + kSmallPadding, panel.top + kSmallPadding, label, 1);
  }
  if (!screen.notice.empty()) {
    Rect panel = overlay.PanelFor(Overlay::TextWidth(screen.notice), 1, kCentreX, kNoticeTop, kSmallPadding + 4);
    overlay.Text(panel.left + kSmallPadding + 4, panel.top + kSmallPadding + 4, screen.notice, 0);
  }
}
