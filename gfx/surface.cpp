#include "gfx/surface.h"

#include <algorithm>
#include <cstring>

Surface::Surface(int width, int height)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      pitch_((std::max(0, width) + 3) & ~3),
      pixels_(static_cast<size_t>(pitch_) * static_cast<size_t>(height_), 0) {}

void Surface::Fill(const Rect& rect, uint8_t index) {
  if (!drawn_) return;
  int left = std::max(rect.left, 0);
  int top = std::max(rect.top, 0);
  int right = std::min(rect.right, width_);
  int bottom = std::min(rect.bottom, height_);
  if (left >= right || top >= bottom) return;
  for (int y = top; y < bottom; ++y) {
    std::memset(Row(y) + left, index, static_cast<size_t>(right - left));
  }
}

template <bool kKeyed>
void Surface::BlitImpl(const Surface& src, const Rect& from, int dx, int dy, uint8_t key) {
  if (!drawn_) return;
  // Keep the source rectangle inside the source first.
  Rect s = from;
  if (s.left < 0) {
    dx -= s.left;
    s.left = 0;
  }
  if (s.top < 0) {
    dy -= s.top;
    s.top = 0;
  }
  s.right = std::min(s.right, src.Width());
  s.bottom = std::min(s.bottom, src.Height());
  // Then clip the destination to this surface.
  int w = s.right - s.left;
  int h = s.bottom - s.top;
  if (dx < 0) {
    s.left -= dx;
    w += dx;
    dx = 0;
  }
  if (dy < 0) {
    s.top -= dy;
    h += dy;
    dy = 0;
  }
  w = std::min(w, width_ - dx);
  h = std::min(h, height_ - dy);
  if (w <= 0 || h <= 0) return;
  for (int row = 0; row < h; ++row) {
    const uint8_t* in = src.Row(s.top + row) + s.left;
    uint8_t* out = Row(dy + row) + dx;
    if constexpr (kKeyed) {
      // Written as a select rather than a skipped store so that the
      // compiler can do many pixels at once.
      for (int i = 0; i < w; ++i) {
        uint8_t keep = out[i];
        out[i] = in[i] == key ? keep : in[i];
      }
    } else {
      std::memcpy(out, in, static_cast<size_t>(w));
    }
  }
}

void Surface::Blit(const Surface& src, const Rect& from, int dx, int dy) { BlitImpl<false>(src, from, dx, dy, 0); }

void Surface::BlitKeyed(const Surface& src, const Rect& from, int dx, int dy, uint8_t key) {
  BlitImpl<true>(src, from, dx, dy, key);
}
