#pragma once

#include <string_view>

#include "gfx/ascii.h"
#include "gfx/presenter.h"
#include "gfx/surface.h"

// The shell's layer over the game's picture: 640x480 at 8 bits, through the
// game's palette, one index (the artwork's own transparent magenta) showing
// the picture beneath. Everything on it is drawn with the game's font on
// small outlined panels, so it looks like part of the game at 1x.
class Overlay {
 public:
  static constexpr int kLineHeight = 22;  // a glyph row and its gap
  static constexpr int kPadding = 12;     // between a panel's edge and its text

  Overlay();
  Overlay(const Overlay&) = delete;
  Overlay& operator=(const Overlay&) = delete;

  void Clear();
  // A panel: dark, with a light line inside a black one round its edge.
  void Panel(const Rect& r);
  // The picture shows dimmed round the panels until the next Clear.
  void DimPicture() { dim_ = true; }
  // The chosen line of a panel, a shade lighter than the panel.
  void Highlight(const Rect& r);
  // A stroke in the panel's light line, for a sign the font lacks.
  void Stroke(const Rect& r);
  // A panel just large enough for lines of text width wide, with padding
  // round them, centred on centreX from top; returns it.
  Rect PanelFor(int width, int lines, int centreX, int top, int padding = kPadding);
  // A page of the options: a panel lines high centred on the screen, its
  // title drawn in the first line; where its text starts after the title
  // and a gap.
  struct Page {
    Rect panel;
    int x;
    int y;
  };
  Page OpenPage(int width, int lines, std::string_view title);
  // Text in font 0 (pale green) or 1 (pale yellow); returns the x after it.
  int Text(int x, int y, std::string_view text, int font);
  int TextCentred(int centreX, int y, std::string_view text, int font);
  static int TextWidth(std::string_view text) { return static_cast<int>(text.size()) * NAscii::kGlyphWidth; }

  // What the presenter lays over the picture; no layer while nothing is drawn.
  OverlayView View() const;
  const Surface& Layer() const { return layer_; }
  bool IsEmpty() const { return top_ >= bottom_; }

 private:
  void Touch(int top, int bottom);

  Surface layer_;
  NAscii font_;
  uint8_t transparent_;
  uint8_t fill_;
  uint8_t chosen_;
  uint8_t line_;
  uint8_t edge_;
  int top_;
  int bottom_;
  bool dim_ = false;
};
