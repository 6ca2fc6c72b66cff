#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/sdl_window.h"

// The dummy video driver has no accelerated renderer, so the window writes
// the picture into its own surface: enlarged by the largest whole factor,
// centred, with black borders that stay black.
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

SDL_Surface* WindowSurface() {
  for (Uint32 id = 1; id < 64; ++id) {
    if (SDL_Window* w = SDL_GetWindowFromID(id)) return SDL_GetWindowSurface(w);
  }
  return nullptr;
}

uint32_t PixelAt(SDL_Surface* s, int x, int y) {
  return static_cast<const uint32_t*>(s->pixels)[y * (s->pitch / 4) + x] & 0xFFFFFFu;
}

Palette TestPalette() {
  Palette p{};
  p[1] = PaletteEntry{0x12, 0x34, 0x56, 0};
  p[2] = PaletteEntry{0xAB, 0xCD, 0xEF, 0};
  return p;
}

}  // namespace

TEST(WindowPresent, WithoutAcceleratedRendererThePictureLandsCentredInTheWindowSurface) {
  ::setenv("SDL_VIDEODRIVER", "dummy", 1);
  SdlWindow window(true, 2);
  ASSERT_TRUE(window.Open()) << SDL_GetError();
  window.SetFit(Fit::Whole);  // the screen would take Fill: its pixels are checked whole
  SDL_Surface* s = WindowSurface();
  ASSERT_NE(s, nullptr);
  int factor = std::min(s->w / kWidth, s->h / kHeight);
  ASSERT_GE(factor, 1);
  int left = (s->w - kWidth * factor) / 2;
  int top = (s->h - kHeight * factor) / 2;

  Surface picture(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) picture.Row(y)[x] = (x + y) % 2 ? 2 : 1;
  }
  Palette palette = TestPalette();
  // Twice: the second frame writes only the picture, the borders must hold.
  for (int frame = 0; frame < 2; ++frame) {
    window.Present(picture, palette);
    s = WindowSurface();
    EXPECT_EQ(PixelAt(s, left, top), 0x123456u);
    EXPECT_EQ(PixelAt(s, left + factor, top), 0xABCDEFu);
    EXPECT_EQ(PixelAt(s, left + kWidth * factor - 1, top + kHeight * factor - 1), 0x123456u);
    if (left > 0) {
      EXPECT_EQ(PixelAt(s, left - 1, top), 0u);
      EXPECT_EQ(PixelAt(s, left + kWidth * factor, top + 5), 0u);
    }
    if (top > 0) {
      EXPECT_EQ(PixelAt(s, left + 3, top - 1), 0u);
    }
  }
  // A changed picture replaces the old one everywhere it covers.
  picture.Row(0)[0] = 2;
  window.Present(picture, palette);
  EXPECT_EQ(PixelAt(WindowSurface(), left, top), 0xABCDEFu);
}

TEST(WindowPresent, ThePointerHiddenBeforeTheWindowOpensIsHiddenOverItUntilShownAgain) {
  ::setenv("SDL_VIDEODRIVER", "dummy", 1);
  SdlWindow window(false, 1);
  window.ShowCursor(false);  // as the start-up asks, before the window exists
  ASSERT_TRUE(window.Open()) << SDL_GetError();
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  window.ShowCursor(true);  // at the end
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

// The shell's layer lies over the picture on the screen, and a repaint keeps
// it; the window never gets smaller than the picture and comes back from
// full screen at the size it had.
TEST(WindowPresent, TheOverlayLiesOverThePictureAndTheWindowKeepsItsSize) {
  ::setenv("SDL_VIDEODRIVER", "dummy", 1);
  SdlWindow window(false, 1, 900, 700);
  ASSERT_TRUE(window.Open()) << SDL_GetError();
  window.SetFit(Fit::Whole);
  Surface picture(kWidth, kHeight);
  picture.FillAll(1);
  Surface layer(kWidth, kHeight);
  layer.FillAll(9);
  layer.Fill({10, 20, 11, 21}, 2);
  window.Present(picture, TestPalette());
  window.SetOverlay({&layer, 9, 20, 21});
  SDL_Surface* s = WindowSurface();
  int left = (s->w - kWidth) / 2;
  int top = (s->h - kHeight) / 2;
  EXPECT_EQ(PixelAt(s, left + 10, top + 20), 0xABCDEFu);
  EXPECT_EQ(PixelAt(s, left + 11, top + 20), 0x123456u);
  window.Present(picture, TestPalette());
  EXPECT_EQ(PixelAt(WindowSurface(), left + 10, top + 20), 0xABCDEFu);
  window.SetOverlay({});
  EXPECT_EQ(PixelAt(WindowSurface(), left + 10, top + 20), 0x123456u);

  int w = 0;
  int h = 0;
  ASSERT_TRUE(window.WindowedSize(w, h));
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(900, 700));
  window.ToggleFullScreen();
  EXPECT_FALSE(window.WindowedSize(w, h));
  window.ToggleFullScreen();
  ASSERT_TRUE(window.WindowedSize(w, h));
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(900, 700));
  SDL_Window* sdl = SDL_GetWindowFromID(1);
  for (Uint32 id = 1; !sdl && id < 64; ++id) sdl = SDL_GetWindowFromID(id);
  SDL_SetWindowSize(sdl, 300, 200);
  HostEvent event;
  while (window.PollEvent(event)) {
  }
  window.WindowedSize(w, h);
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(kWidth, kHeight));
}
