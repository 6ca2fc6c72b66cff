#include "shell/shell_hints.h"

#include <string_view>

namespace {

constexpr int kCentreX = 320;
// In play PAUSED and the question are a band from edge to edge, taller than
// the game's banners (GET READY flies at 198..282), so none of them sticks
// out round it; the picture round the band is dimmed.
constexpr Rect kPlayBand = {0, 184, 640, 296};
constexpr int kBelowEntryTop = 300;  // the entry's box ends at 277
constexpr int kHintPadding = 4;
constexpr int kHintRight = 632;  // clear of the maker's line at the title's foot
constexpr int kHintTop = 452;

constexpr std::string_view kQuestion = "QUIT";
constexpr std::string_view kAnswers = "ESC QUITS - ANY OTHER KEY PLAYS ON";
constexpr std::string_view kPadAnswers = "BACK QUITS - ANY OTHER BUTTON PLAYS ON";

// The first of two lines centred on the band.
int BandTextTop() { return (kPlayBand.top + kPlayBand.bottom) / 2 - Overlay::kLineHeight - NAscii::kGlyphHeight / 2; }

// The font has no question mark: one drawn in its cell from strokes.
void QuestionMark(Overlay& overlay, int x, int y) {
  constexpr Rect kStrokes[] = {{2, 1, 9, 3}, {8, 2, 10, 8}, {1, 2, 3, 5}, {5, 7, 9, 9}, {5, 8, 7, 12}, {5, 14, 7, 17}};
  for (const Rect& r : kStrokes) overlay.Stroke({x + r.left, y + r.top, x + r.right, y + r.bottom});
}

}  // namespace

void DrawQuitQuestion(Overlay& overlay, bool belowEntry, bool pad) {
  std::string_view answers = pad ? kPadAnswers : kAnswers;
  int y = 0;
  if (belowEntry) {
    y = overlay.PanelFor(Overlay::TextWidth(answers), 3, kCentreX, kBelowEntryTop).top + Overlay::kPadding;
  } else {
    DrawPlayBand(overlay);
    y = BandTextTop();
  }
  int x = overlay.TextCentred(kCentreX - NAscii::kGlyphWidth / 2, y, kQuestion, 0);
  QuestionMark(overlay, x, y);
  overlay.TextCentred(kCentreX, y + 2 * Overlay::kLineHeight, answers, 0);
}

void DrawPlayBand(Overlay& overlay) {
  overlay.Panel(kPlayBand);
  overlay.DimPicture();
}

void DrawRetryQuestion(Overlay& overlay, std::string_view answers) {
  DrawPlayBand(overlay);
  int y = BandTextTop();
  overlay.TextCentred(kCentreX, y, "PRACTICE OVER", 1);
  overlay.TextCentred(kCentreX, y + 2 * Overlay::kLineHeight, answers, 0);
}

void DrawPaused(Overlay& overlay, std::string_view keys) {
  DrawPlayBand(overlay);
  int y = BandTextTop();
  overlay.TextCentred(kCentreX, y, "PAUSED", 1);
  overlay.TextCentred(kCentreX, y + 2 * Overlay::kLineHeight, keys, 0);
}

void DrawTitleHint(Overlay& overlay, bool pad) {
  std::string_view hint = pad ? "BACK OPTIONS" : "F1 OPTIONS";
  int width = Overlay::TextWidth(hint);
  Rect panel = overlay.PanelFor(width, 1, kHintRight - width / 2 - kHintPadding, kHintTop, kHintPadding);
  overlay.Text(panel.left + kHintPadding, panel.top + kHintPadding, hint, 0);
}
