#include "gfx/display.h"

#include <memory>

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

struct DisplayContext {
  Presenter* presenter = nullptr;
  std::unique_ptr<Surface> back;
  Palette palette{};
  bool paletteSet = false;
  uint32_t cooperativeFlags = kCooperativeNormal;
  bool drawn = true;
};

std::unique_ptr<DisplayContext>& Context() {
  static std::unique_ptr<DisplayContext> context;
  return context;
}

}  // namespace

bool CreateDisplay(Presenter* presenter) {
  Context() = std::make_unique<DisplayContext>();
  Context()->presenter = presenter;
  return true;
}

void SetCooperativeFlags(uint32_t flags) {
  if (Context()) Context()->cooperativeFlags = flags;
}

bool SetDisplayMode() {
  if (!Context()) return false;
  Context()->back = std::make_unique<Surface>(kScreenWidth, kScreenHeight);
  Context()->back->SetDrawn(Context()->drawn);
  return true;
}

bool InitPalette(int bitmapId) {
  if (!Context()) return false;
  NDib256 dib(bitmapId);
  if (dib.IsEmpty()) return false;
  dib.GetPalette(0, 256, Context()->palette.data());
  Context()->paletteSet = true;
  return true;
}

Surface* GetBackSurface() { return Context() ? Context()->back.get() : nullptr; }

void SetPictureDrawn(bool drawn) {
  if (!Context()) return;
  Context()->drawn = drawn;
  if (Context()->back) Context()->back->SetDrawn(drawn);
}
int GetScreenWidth() { return kScreenWidth; }
int GetScreenHeight() { return kScreenHeight; }

int IsFullScreen() { return Context() && (Context()->cooperativeFlags & 0x01) ? 1 : 0; }

const Palette& GetPalette() {
  static const Palette empty{};
  return Context() ? Context()->palette : empty;
}

uint8_t NearestPaletteIndex(const Palette& palette, uint32_t rgb) {
  int r = static_cast<int>((rgb >> 16) & 0xFF);
  int g = static_cast<int>((rgb >> 8) & 0xFF);
  int b = static_cast<int>(rgb & 0xFF);
  int best = 0;
  long bestDistance = -1;
  for (int i = 0; i < 256; ++i) {
    const PaletteEntry& e = palette[static_cast<size_t>(i)];
    long dr = e.red - r;
    long dg = e.green - g;
    long db = e.blue - b;
    long d = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return static_cast<uint8_t>(best);
}

bool FillSurface(Surface* surface, const Rect* rect, uint32_t rgb) {
  if (!surface) return false;
  uint8_t index = NearestPaletteIndex(GetPalette(), rgb);
  if (rect) {
    surface->Fill(*rect, index);
  } else {
    surface->FillAll(index);
  }
  return true;
}

bool DrawCurtain(Surface* surface, int percent) {
  if (!surface) return false;
  if (percent < 0) percent = 0;
  if (percent > 100) percent = 100;
  int width = surface->Width();
  int height = surface->Height();
  if (percent == 100) {
    surface->FillAll(0);
    return true;
  }
  if (percent == 0) return true;
  int k = static_cast<int>(static_cast<float>(height) * 0.5f * (static_cast<float>(percent) / 100.0f));
  surface->Fill({0, 0, width, k}, 0);
  surface->Fill({0, height - k, width, height}, 0);
  return true;
}

std::unique_ptr<Surface> CreateOffscreenSurface(int width, int height) {
  return std::make_unique<Surface>(width, height);
}

bool Present() {
  DisplayContext* c = Context().get();
  if (!c || !c->back) return false;
  if (c->presenter) c->presenter->Present(*c->back, c->palette);
  return true;
}

int AreSurfacesLost() { return Context() && Context()->back ? 0 : 1; }

bool RestoreSurfaces() { return Context() && Context()->back != nullptr; }

void ReleaseSurfaces() {
  if (Context()) Context()->back.reset();
}

void ReleaseDisplay() { Context().reset(); }
