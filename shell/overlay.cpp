#include "shell/overlay.h"

#include <algorithm>
#include <string>

#include "gfx/display.h"

namespace {
constexpr int kWidth = 640;
constexpr int kHeight = 480;
// The game's artwork keys its sprites on magenta, which therefore never
// shows: the overlay's transparent index.
constexpr uint8_t kTransparent = 10;
constexpr uint32_t kPanelFill = 0x0C1030;  // a night blue, darker than any backdrop
constexpr uint32_t kPanelLine = 0xECFFAA;  // the green font's pale fill
constexpr uint32_t kChosenFill = 0x283C78;
}  // namespace

Overlay::Overlay()
    : layer_(kWidth, kHeight),
      transparent_(kTransparent),
      fill_(NearestPaletteIndex(GetPalette(), kPanelFill)),
      chosen_(NearestPaletteIndex(GetPalette(), kChosenFill)),
      line_(NearestPaletteIndex(GetPalette(), kPanelLine)),
      edge_(NearestPaletteIndex(GetPalette(), 0x000000)),
      top_(kHeight),
      bottom_(0) {
  layer_.FillAll(transparent_);
  font_.SetTarget(&layer_);
}

void Overlay::Clear() {
  if (!IsEmpty()) layer_.Fill({0, top_, kWidth, bottom_}, transparent_);
  top_ = kHeight;
  bottom_ = 0;
  dim_ = false;
}

void Overlay::Touch(int top, int bottom) {
  top_ = std::max(0, std::min(top_, top));
  bottom_ = std::min(kHeight, std::max(bottom_, bottom));
}

void Overlay::Panel(const Rect& r) {
  layer_.Fill(r, edge_);
  layer_.Fill({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, line_);
  layer_.Fill({r.left + 2, r.top + 2, r.right - 2, r.bottom - 2}, fill_);
  Touch(r.top, r.bottom);
}

void Overlay::Highlight(const Rect& r) {
  layer_.Fill(r, chosen_);
  Touch(r.top, r.bottom);
}

void Overlay::Stroke(const Rect& r) {
  layer_.Fill(r, line_);
  Touch(r.top, r.bottom);
}

Rect Overlay::PanelFor(int width, int lines, int centreX, int top, int padding) {
  int w = width + 2 * padding;
  int h = lines * kLineHeight - (kLineHeight - NAscii::kGlyphHeight) + 2 * padding;
  Rect r{centreX - w / 2, top, centreX - w / 2 + w, top + h};
  Panel(r);
  return r;
}

Overlay::Page Overlay::OpenPage(int width, int lines, std::string_view title) {
  const int centreX = kWidth / 2;
  Rect panel = PanelFor(width, lines, centreX, (kHeight - lines * kLineHeight) / 2);
  int y = panel.top + kPadding;
  TextCentred(centreX, y, title, 1);
  return {panel, panel.left + kPadding, y + 2 * kLineHeight};
}

int Overlay::Text(int x, int y, std::string_view text, int font) {
  font_.SetFont(font);
  Touch(y, y + NAscii::kGlyphHeight);
  return font_.DrawText(x, y, std::string(text).c_str());
}

int Overlay::TextCentred(int centreX, int y, std::string_view text, int font) {
  return Text(centreX - TextWidth(text) / 2, y, text, font);
}

OverlayView Overlay::View() const {
  if (IsEmpty()) return {};
  return {&layer_, transparent_, top_, bottom_, dim_};
}
