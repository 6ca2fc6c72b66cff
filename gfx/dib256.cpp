#include "gfx/dib256.h"

#include <cstdlib>
#include <cstring>

#include "base/resources.h"
#include "gfx/display.h"

namespace {

constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kColorTableSize = 256 * 4;
// Larger bitmaps than this are certainly corrupt data, not artwork.
constexpr int64_t kMaxDimension = 1 << 15;

uint32_t ReadU32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 | static_cast<uint32_t>(b[at + 2]) << 16 |
         static_cast<uint32_t>(b[at + 3]) << 24;
}

uint16_t ReadU16(std::span<const uint8_t> b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }

}  // namespace

NDib256::NDib256(int resourceId) { Load(FindResource(ResourceType::Bitmap, resourceId & 0xFFFF)); }

NDib256::NDib256(std::span<const uint8_t> packed) { Load(packed); }

void NDib256::Load(std::span<const uint8_t> packed) {
  if (packed.size() < kInfoHeaderSize + kColorTableSize) return;
  uint32_t headerSize = ReadU32(packed, 0);
  auto width = static_cast<int32_t>(ReadU32(packed, 4));
  auto height = static_cast<int32_t>(ReadU32(packed, 8));
  uint16_t bitCount = ReadU16(packed, 14);
  uint32_t compression = ReadU32(packed, 16);
  if (headerSize != kInfoHeaderSize || bitCount != 8 || compression != 0) return;
  int64_t absHeight = std::llabs(static_cast<int64_t>(height));
  if (width <= 0 || absHeight <= 0 || width > kMaxDimension || absHeight > kMaxDimension) return;
  int64_t stride = ((static_cast<int64_t>(bitCount) * width + 7) / 8 + 3) & ~int64_t{3};
  int64_t pixelBytes = stride * absHeight;
  size_t offset = kInfoHeaderSize + kColorTableSize;
  if (static_cast<int64_t>(packed.size() - offset) < pixelBytes) return;
  std::memcpy(colors_.data(), packed.data() + kInfoHeaderSize, kColorTableSize);
  width_ = width;
  height_ = static_cast<int>(absHeight);
  stride_ = static_cast<int>(stride);
  bits_.assign(packed.begin() + static_cast<std::ptrdiff_t>(offset),
               packed.begin() + static_cast<std::ptrdiff_t>(offset + static_cast<size_t>(pixelBytes)));
  // Top-down bitmaps (negative height) are stored turned round so that every
  // reader can take rows bottom-up.
  if (height < 0) {
    std::vector<uint8_t> flipped(bits_.size());
    for (int r = 0; r < height_; ++r) {
      std::memcpy(flipped.data() + static_cast<size_t>(r) * static_cast<size_t>(stride_),
                  bits_.data() + static_cast<size_t>(height_ - 1 - r) * static_cast<size_t>(stride_),
                  static_cast<size_t>(stride_));
    }
    bits_.swap(flipped);
  }
}

void NDib256::GetPalette(int first, int count, PaletteEntry* entries) const {
  for (int i = 0; i < count; ++i) {
    int at = first + i;
    if (at < 0 || at > 255) continue;
    const uint8_t* c = colors_.data() + at * 4;
    entries[i] = PaletteEntry{c[2], c[1], c[0], 0};
  }
}

std::shared_ptr<const Surface> NDib256::TopDown() const {
  if (topDown_) return topDown_;
  int w = IsEmpty() ? 0 : width_;
  int h = IsEmpty() ? 0 : height_;
  std::unique_ptr<Surface> surface = CreateOffscreenSurface(w, h);
  // Bitmaps store their rows bottom-up.
  for (int r = 0; r < h; ++r) {
    std::memcpy(surface->Row(r), GetBits() + static_cast<size_t>(h - 1 - r) * static_cast<size_t>(stride_),
                static_cast<size_t>(w));
  }
  topDown_ = std::move(surface);
  return topDown_;
}
