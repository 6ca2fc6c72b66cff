#include <gtest/gtest.h>

#include "gfx/display.h"

namespace {
int BlackRows(const Surface& s) {
  int rows = 0;
  for (int y = 0; y < s.Height(); ++y) {
    bool black = true;
    for (int x = 0; x < s.Width(); ++x) black = black && s.At(x, y) == 0;
    rows += black;
  }
  return rows;
}
}  // namespace

TEST(DrawCurtain, BlacksOutBandsFromBothEdges) {
  Surface s(640, 480);
  struct Case {
    int percent;
    int black;
  } cases[] = {{0, 0}, {-5, 0}, {50, 240}, {4, 18}, {96, 460}, {100, 480}, {250, 480}};
  for (const Case& c : cases) {
    s.FillAll(7);
    EXPECT_TRUE(DrawCurtain(&s, c.percent));
    EXPECT_EQ(BlackRows(s), c.black) << c.percent;
  }
  s.FillAll(7);
  DrawCurtain(&s, 50);
  EXPECT_EQ(s.At(0, 119), 0);
  EXPECT_EQ(s.At(0, 120), 7);
  EXPECT_EQ(s.At(0, 359), 7);
  EXPECT_EQ(s.At(0, 360), 0);
  EXPECT_FALSE(DrawCurtain(nullptr, 50));
}

TEST(FillSurface, PicksTheNearestPaletteEntry) {
  ASSERT_TRUE(CreateDisplay(nullptr));
  ASSERT_TRUE(SetDisplayMode());
  ASSERT_TRUE(InitPalette(106));
  Surface* back = GetBackSurface();
  FillSurface(back, nullptr, 0xFFFFFF);
  EXPECT_EQ(back->At(0, 0), 255);
  Rect r{10, 10, 20, 20};
  FillSurface(back, &r, 0x000000);
  EXPECT_EQ(back->At(10, 10), 0);
  EXPECT_EQ(back->At(19, 19), 0);
  EXPECT_EQ(back->At(20, 20), 255);
  const Palette& p = GetPalette();
  EXPECT_EQ(p[0].red + p[0].green + p[0].blue, 0);
  EXPECT_EQ(p[255].red & p[255].green & p[255].blue, 255);
  ReleaseDisplay();
  EXPECT_EQ(GetBackSurface(), nullptr);
  EXPECT_EQ(IsFullScreen(), 0);
}

namespace {
// Keeps what the display hands over, as a window would show it.
class RecordingPresenter : public Presenter {
 public:
  void Present(const Surface& back, const Palette& palette) override {
    ++calls;
    pixel = back.At(320, 240);
    red255 = palette[255].red;
    width = back.Width();
    height = back.Height();
  }
  int calls = 0;
  int pixel = -1;
  int red255 = -1;
  int width = 0;
  int height = 0;
};
}  // namespace

TEST(Display, PresentHandsTheBackSurfaceAndPaletteToThePresenter) {
  RecordingPresenter presenter;
  ASSERT_TRUE(CreateDisplay(&presenter));
  EXPECT_FALSE(Present());  // no back surface before the mode is set
  EXPECT_EQ(AreSurfacesLost(), 1);
  SetCooperativeFlags(kCooperativeFullScreenExclusive);
  EXPECT_EQ(IsFullScreen(), 1);
  ASSERT_TRUE(SetDisplayMode());
  ASSERT_TRUE(InitPalette(106));
  EXPECT_EQ(AreSurfacesLost(), 0);
  EXPECT_TRUE(RestoreSurfaces());
  GetBackSurface()->FillAll(42);
  EXPECT_TRUE(Present());
  EXPECT_EQ(presenter.calls, 1);
  EXPECT_EQ(presenter.pixel, 42);
  EXPECT_EQ(presenter.red255, 255);
  EXPECT_EQ(presenter.width, GetScreenWidth());
  EXPECT_EQ(presenter.height, GetScreenHeight());
  EXPECT_EQ(GetScreenWidth(), 640);
  EXPECT_EQ(GetScreenHeight(), 480);
  ReleaseSurfaces();
  EXPECT_EQ(GetBackSurface(), nullptr);
  EXPECT_FALSE(Present());
  EXPECT_EQ(presenter.calls, 1);
  ReleaseDisplay();
  // A missing palette bitmap is a failure, not a black palette.
  ASSERT_TRUE(CreateDisplay(nullptr));
  EXPECT_FALSE(InitPalette(9999));
  ReleaseDisplay();
  EXPECT_FALSE(InitPalette(106));
}
