#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class Surface;

struct PaletteEntry {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t flags = 0;
};

// An 8-bit bitmap with its 256-entry colour table, loaded from the program's
// bitmap resources (packed bitmaps: info header, colour table, pixel rows
// bottom-up). A resource that is not 8-bit uncompressed, or whose sizes do
// not fit its data, leaves the object empty.
class NDib256 {
 public:
  explicit NDib256(int resourceId);
  explicit NDib256(std::span<const uint8_t> packed);
  virtual ~NDib256() = default;

  bool IsEmpty() const { return bits_.empty(); }
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  const uint8_t* GetBits() const { return bits_.data(); }
  int GetStride() const { return stride_; }
  // Pixel of image row y counted from the top.
  uint8_t PixelAt(int x, int y) const {
    return bits_[static_cast<size_t>(height_ - 1 - y) * static_cast<size_t>(stride_) + static_cast<size_t>(x)];
  }
  // Writes count entries starting at colour-table entry first, as RGB.
  void GetPalette(int first, int count, PaletteEntry* entries) const;
  // The pixels top-down (empty: 0x0), made once and shared by every sprite
  // built from this bitmap: a formation or a volley copies nothing.
  std::shared_ptr<const Surface> TopDown() const;

 private:
  void Load(std::span<const uint8_t> packed);

  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
  std::array<uint8_t, 1024> colors_{};  // blue, green, red, reserved
  std::vector<uint8_t> bits_;
  mutable std::shared_ptr<const Surface> topDown_;
};
