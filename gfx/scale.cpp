#include "gfx/scale.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr uint32_t kOpaqueBlack = 0xFF000000u;
}  // namespace

std::array<uint32_t, 256> PaletteToArgb(const Palette& palette) {
  std::array<uint32_t, 256> argb{};
  for (size_t i = 0; i < argb.size(); ++i) {
    const PaletteEntry& e = palette[i];
    argb[i] = kOpaqueBlack | uint32_t{e.red} << 16 | uint32_t{e.green} << 8 | uint32_t{e.blue};
  }
  return argb;
}

PictureRect FitPicture(int width, int height, int outWidth, int outHeight) {
  PictureRect r;
  if (width > 0 && height > 0) r.factor = std::max(1, std::min(outWidth / width, outHeight / height));
  r.left = (outWidth - width * r.factor) / 2;
  r.top = (outHeight - height * r.factor) / 2;
  return r;
}

int FitScale(int wanted, int width, int height, int areaWidth, int areaHeight) {
  if (width <= 0 || height <= 0) return std::max(1, wanted);
  return std::max(1, std::min({wanted, areaWidth / width, areaHeight / height}));
}

void ConvertAndScale(const Surface& picture, const Palette& palette, uint32_t* out, int outWidth, int outHeight,
                     int outPitch) {
  if (!out || outWidth <= 0 || outHeight <= 0) return;
  const std::array<uint32_t, 256> argb = PaletteToArgb(palette);
  int w = picture.Width();
  int h = picture.Height();
  // Where the enlarged picture starts; negative when the buffer is smaller.
  const PictureRect fit = FitPicture(w, h, outWidth, outHeight);
  const int factor = fit.factor;
  const int left = fit.left;
  const int top = fit.top;
  // The columns of the buffer the picture covers, and the first picture
  // column shown there.
  int firstX = std::max(0, left);
  int endX = std::min(outWidth, left + w * factor);
  size_t outRowBytes = static_cast<size_t>(outWidth) * sizeof(uint32_t);
  for (int y = 0; y < outHeight; ++y) {
    uint32_t* row = out + static_cast<size_t>(y) * static_cast<size_t>(outPitch);
    int scaledY = y - top;
    if (w <= 0 || h <= 0 || scaledY < 0 || scaledY >= h * factor || firstX >= endX) {
      std::fill(row, row + outWidth, kOpaqueBlack);
      continue;
    }
    // Every source row is enlarged once and then copied factor - 1 times.
    if (scaledY % factor != 0 && y > 0) {
      std::memcpy(row, row - outPitch, outRowBytes);
      continue;
    }
    std::fill(row, row + firstX, kOpaqueBlack);
    std::fill(row + endX, row + outWidth, kOpaqueBlack);
    const uint8_t* in = picture.Row(scaledY / factor);
    if (factor == 1) {
      const uint8_t* from = in + (firstX - left);
      for (int x = firstX; x < endX; ++x) row[x] = argb[*from++];
      continue;
    }
    // A whole factor of 2 or more means the picture fits: no cropping.
    uint32_t* to = row + firstX;
    if (factor == 2) {
      // The common full-screen case, written as one pair per source pixel.
      for (int sx = 0; sx < w; ++sx) {
        uint64_t pair = uint64_t{argb[in[sx]]} * 0x100000001ull;
        std::memcpy(to, &pair, sizeof pair);
        to += 2;
      }
      continue;
    }
    for (int sx = 0; sx < w; ++sx) {
      uint32_t colour = argb[in[sx]];
      for (int k = 0; k < factor; ++k) *to++ = colour;
    }
  }
}
