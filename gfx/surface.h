#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Rectangles are left, top, right, bottom with right and bottom exclusive.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// An 8-bit surface: one palette index per pixel, rows `pitch` bytes apart.
// Blits into a surface are clipped to it, as the back surface's clipper did:
// a sprite partly off screen is clipped, not rejected.
class Surface {
 public:
  Surface(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  uint8_t* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(pitch_); }
  const uint8_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(pitch_); }
  uint8_t At(int x, int y) const { return Row(y)[x]; }

  // Fills rect (clipped to the surface) with a palette index.
  void Fill(const Rect& rect, uint8_t index);
  void FillAll(uint8_t index) { Fill({0, 0, width_, height_}, index); }

  // Copies src's rectangle to (dx, dy), clipped to this surface and to src.
  // With a colour key, source pixels equal to it are skipped.
  void Blit(const Surface& src, const Rect& from, int dx, int dy);
  void BlitKeyed(const Surface& src, const Rect& from, int dx, int dy, uint8_t key);
  // A surface that is not drawn takes no fills and no blits: a replay that
  // only wants the game's outcome skips the picture's cost. Nothing the game
  // decides reads the back surface, so the outcome stays the same.
  void SetDrawn(bool drawn) { drawn_ = drawn; }

 private:
  template <bool kKeyed>
  void BlitImpl(const Surface& src, const Rect& from, int dx, int dy, uint8_t key);

  int width_;
  int height_;
  int pitch_;
  bool drawn_ = true;
  std::vector<uint8_t> pixels_;
};
