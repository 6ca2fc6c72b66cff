#include "gfx/scale.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
constexpr uint32_t kOpaqueBlack = 0xFF000000u;
constexpr int kWeightOne = 256;  // blend weights in 1/256
// A held game under its panel keeps this much of its light (in 1/256):
// dark enough that the panel's text reads over any picture, light enough
// that the player still sees where things stand.
constexpr uint32_t kDimmedLight = 96;
// Auto keeps whole factors while they fill at least 3/4 of the height.
constexpr int kWholeFillsPart = 3;
constexpr int kWholeFillsOf = 4;

}  // namespace

const uint8_t* RowUnderOverlay(const Surface& picture, const OverlayView& overlay, int y,
                               std::vector<uint8_t>& scratch) {
  const uint8_t* row = picture.Row(y);
  if (!overlay.layer || y < overlay.top || y >= overlay.bottom || y >= overlay.layer->Height()) return row;
  int w = std::min(picture.Width(), overlay.layer->Width());
  scratch.assign(row, row + picture.Width());
  const uint8_t* over = overlay.layer->Row(y);
  for (int x = 0; x < w; ++x) {
    if (over[x] != overlay.transparent) scratch[static_cast<size_t>(x)] = over[x];
  }
  return scratch.data();
}

std::array<uint32_t, 256> DimColours(const std::array<uint32_t, 256>& colours) {
  std::array<uint32_t, 256> dimmed{};
  for (size_t i = 0; i < colours.size(); ++i) {
    uint32_t c = colours[i];
    uint32_t out = c & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) out |= (((c >> shift) & 0xFFu) * kDimmedLight / kWeightOne) << shift;
    dimmed[i] = out;
  }
  return dimmed;
}

void ColourRowUnderOverlay(const Surface& picture, const OverlayView& overlay, int y,
                           const std::array<uint32_t, 256>& colours, const std::array<uint32_t, 256>& dimmed,
                           uint32_t* out) {
  const uint8_t* row = picture.Row(y);
  const int w = picture.Width();
  const std::array<uint32_t, 256>& under = overlay.layer && overlay.dim ? dimmed : colours;
  int covered = 0;  // the columns the layer reaches in this row
  const uint8_t* over = nullptr;
  if (overlay.layer && y >= overlay.top && y < overlay.bottom && y < overlay.layer->Height()) {
    over = overlay.layer->Row(y);
    covered = std::min(w, overlay.layer->Width());
  }
  for (int x = 0; x < covered; ++x) out[x] = over[x] != overlay.transparent ? colours[over[x]] : under[row[x]];
  for (int x = covered; x < w; ++x) out[x] = under[row[x]];
}

namespace {

// One output coordinate's two source samples and the second one's weight:
// linear sampling of the picture enlarged by factor (nearest), as a
// renderer's smooth filter samples it.
struct Tap {
  int first = 0;
  int second = 0;
  int weight = 0;
};

std::vector<Tap> SmoothTaps(int source, int factor, int out) {
  std::vector<Tap> taps(static_cast<size_t>(std::max(0, out)));
  const int enlarged = source * factor;
  for (int x = 0; x < out; ++x) {
    // The output pixel's centre in the enlarged picture, in 1/256 of a pixel.
    int64_t u = ((2 * int64_t{x} + 1) * enlarged * kWeightOne) / (2 * int64_t{out}) - kWeightOne / 2;
    u = std::max<int64_t>(0, u);
    int i = static_cast<int>(u / kWeightOne);
    int next = std::min(i + 1, enlarged - 1);
    taps[static_cast<size_t>(x)] = {i / factor, next / factor, static_cast<int>(u % kWeightOne)};
  }
  return taps;
}

uint32_t Blend(uint32_t a, uint32_t b, int weightOfB) {
  if (a == b || weightOfB == 0) return a;
  uint32_t rb = ((a & 0xFF00FFu) * static_cast<uint32_t>(kWeightOne - weightOfB) +
                 (b & 0xFF00FFu) * static_cast<uint32_t>(weightOfB)) >>
                8;
  uint32_t g = ((a & 0x00FF00u) * static_cast<uint32_t>(kWeightOne - weightOfB) +
                (b & 0x00FF00u) * static_cast<uint32_t>(weightOfB)) >>
               8;
  return kOpaqueBlack | (rb & 0xFF00FFu) | (g & 0x00FF00u);
}

void FillBlack(uint32_t* out, int outWidth, int outHeight, int outPitch) {
  for (int y = 0; y < outHeight; ++y) {
    std::fill_n(out + static_cast<size_t>(y) * static_cast<size_t>(outPitch), outWidth, kOpaqueBlack);
  }
}

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

Fit ChosenFit(Fit fit, int width, int height, int outWidth, int outHeight) {
  if (fit != Fit::Auto) return fit;
  if (width <= 0 || height <= 0) return Fit::Whole;
  const int factor = std::min(outWidth / width, outHeight / height);
  const bool fillsEnough =
      factor >= 1 && int64_t{height} * factor * kWholeFillsOf >= int64_t{outHeight} * kWholeFillsPart;
  return fillsEnough ? Fit::Whole : Fit::Fill;
}

Placement PlacePicture(int width, int height, int outWidth, int outHeight, Fit fit) {
  fit = ChosenFit(fit, width, height, outWidth, outHeight);
  const PictureRect whole = FitPicture(width, height, outWidth, outHeight);
  Placement p{whole.left, whole.top, width * whole.factor, height * whole.factor, whole.factor};
  if (fit == Fit::Whole || width <= 0 || height <= 0 || outWidth < width || outHeight < height) return p;
  // The side that runs out first decides; the other keeps the shape.
  if (int64_t{outWidth} * height <= int64_t{outHeight} * width) {
    p.width = outWidth;
    p.height = static_cast<int>(int64_t{outWidth} * height / width);
  } else {
    p.height = outHeight;
    p.width = static_cast<int>(int64_t{outHeight} * width / height);
  }
  p.left = (outWidth - p.width) / 2;
  p.top = (outHeight - p.height) / 2;
  p.factor = std::min(kMostPrescale, std::max((p.width + width - 1) / width, (p.height + height - 1) / height));
  return p;
}

int FitScale(int wanted, int width, int height, int areaWidth, int areaHeight) {
  if (width <= 0 || height <= 0) return std::max(1, wanted);
  return std::max(1, std::min({wanted, areaWidth / width, areaHeight / height}));
}

void ConvertAndScale(const Surface& picture, const Palette& palette, uint32_t* out, int outWidth, int outHeight,
                     int outPitch, const OverlayView& overlay) {
  if (!out || outWidth <= 0 || outHeight <= 0) return;
  const std::array<uint32_t, 256> argb = PaletteToArgb(palette);
  const std::array<uint32_t, 256> dimmed = DimColours(argb);
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
  std::vector<uint32_t> line(static_cast<size_t>(std::max(0, w)));
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
    ColourRowUnderOverlay(picture, overlay, scaledY / factor, argb, dimmed, line.data());
    const uint32_t* in = line.data();
    if (factor == 1) {
      std::memcpy(row + firstX, in + (firstX - left), static_cast<size_t>(endX - firstX) * sizeof(uint32_t));
      continue;
    }
    // A whole factor of 2 or more means the picture fits: no cropping.
    uint32_t* to = row + firstX;
    if (factor == 2) {
      // The common full-screen case, written as one pair per source pixel.
      for (int sx = 0; sx < w; ++sx) {
        uint64_t pair = uint64_t{in[sx]} * 0x100000001ull;
        std::memcpy(to, &pair, sizeof pair);
        to += 2;
      }
      continue;
    }
    for (int sx = 0; sx < w; ++sx) {
      uint32_t colour = in[sx];
      for (int k = 0; k < factor; ++k) *to++ = colour;
    }
  }
}

void ConvertAndFill(const Surface& picture, const Palette& palette, uint32_t* out, int outWidth, int outHeight,
                    int outPitch, const OverlayView& overlay) {
  if (!out || outWidth <= 0 || outHeight <= 0) return;
  const int w = picture.Width();
  const int h = picture.Height();
  const Placement p = PlacePicture(w, h, outWidth, outHeight, Fit::Fill);
  if (w <= 0 || h <= 0 || p.width == w * p.factor) {
    // A whole factor fits exactly (or the output is too small): nothing to smooth.
    ConvertAndScale(picture, palette, out, outWidth, outHeight, outPitch, overlay);
    return;
  }
  FillBlack(out, outWidth, outHeight, outPitch);
  const std::array<uint32_t, 256> argb = PaletteToArgb(palette);
  const std::array<uint32_t, 256> dimmed = DimColours(argb);
  const std::vector<Tap> columns = SmoothTaps(w, p.factor, p.width);
  const std::vector<Tap> rows = SmoothTaps(h, p.factor, p.height);
  std::vector<uint32_t> upper(static_cast<size_t>(p.width));
  std::vector<uint32_t> lower(static_cast<size_t>(p.width));
  std::vector<uint32_t> source(static_cast<size_t>(w));
  // One source row through the column taps.
  auto spread = [&](int sourceRow, std::vector<uint32_t>& line) {
    ColourRowUnderOverlay(picture, overlay, sourceRow, argb, dimmed, source.data());
    for (size_t x = 0; x < columns.size(); ++x) {
      const Tap& t = columns[x];
      line[x] = Blend(source[static_cast<size_t>(t.first)], source[static_cast<size_t>(t.second)], t.weight);
    }
  };
  int upperRow = -1;
  int lowerRow = -1;
  for (int y = 0; y < p.height; ++y) {
    const Tap& t = rows[static_cast<size_t>(y)];
    if (upperRow != t.first) {
      if (lowerRow == t.first) {
        upper.swap(lower);
      } else {
        spread(t.first, upper);
      }
      upperRow = t.first;
      lowerRow = -1;
    }
    uint32_t* row = out + static_cast<size_t>(p.top + y) * static_cast<size_t>(outPitch) + p.left;
    if (t.second == t.first || t.weight == 0) {
      std::copy(upper.begin(), upper.end(), row);
      continue;
    }
    if (lowerRow != t.second) {
      spread(t.second, lower);
      lowerRow = t.second;
    }
    for (size_t x = 0; x < upper.size(); ++x) row[x] = Blend(upper[x], lower[x], t.weight);
  }
}
