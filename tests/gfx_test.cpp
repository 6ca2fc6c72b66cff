// Surfaces, bitmaps, sprites, text and the picture's way to the screen.
#include <gtest/gtest.h>

#include <tuple>

#include "gfx/ascii.h"
#include "gfx/dib256.h"
#include "gfx/display.h"
#include "gfx/number.h"
#include "gfx/scale.h"
#include "gfx/sprite256.h"
#include "tests/doubles.h"

namespace {

// A small surface as text: one character per pixel ('.' for 0, '1'.. for
// 1..), rows separated by '|'.
std::string Show(const Surface& s) {
  std::string out;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) out += s.At(x, y) ? static_cast<char>('0' + s.At(x, y)) : '.';
    if (y + 1 < s.Height()) out += '|';
  }
  return out;
}

// The inverse: rows of digits ('.' for 0) separated by '|'.
Surface Make(const std::string& rows) {
  int w = static_cast<int>(rows.find('|') == std::string::npos ? rows.size() : rows.find('|'));
  int h = static_cast<int>(std::count(rows.begin(), rows.end(), '|')) + 1;
  Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      char c = rows[static_cast<size_t>(y * (w + 1) + x)];
      s.Row(y)[x] = static_cast<uint8_t>(c == '.' ? 0 : c - '0');
    }
  }
  return s;
}

// A packed 8-bit bitmap as the resources hold it: info header, colour table
// (entry i stored as blue i, green 2i, red 3i) and rows bottom-up, padded to
// four bytes; `rows` as for Make. A negative height stores the rows top-down.
std::vector<uint8_t> Packed(const std::string& rows, bool topDown = false) {
  Surface s = Make(rows);
  size_t stride = (static_cast<size_t>(s.Width()) + 3) & ~size_t{3};
  std::vector<uint8_t> b(40 + 1024 + stride * static_cast<size_t>(s.Height()), 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, static_cast<uint32_t>(s.Width()));
  put32(8, static_cast<uint32_t>(topDown ? -s.Height() : s.Height()));
  b[14] = 8;
  for (size_t i = 0; i < 256; ++i) {
    b[40 + 4 * i] = static_cast<uint8_t>(i);
    b[41 + 4 * i] = static_cast<uint8_t>(2 * i);
    b[42 + 4 * i] = static_cast<uint8_t>(3 * i);
  }
  for (int y = 0; y < s.Height(); ++y) {
    size_t row = 1064 + stride * static_cast<size_t>(topDown ? y : s.Height() - 1 - y);
    std::copy(s.Row(y), s.Row(y) + s.Width(), b.begin() + static_cast<std::ptrdiff_t>(row));
  }
  return b;
}

}  // namespace

TEST(Surface, BlitsAndFillsAreClippedAtEveryEdgeInsteadOfRejected) {
  // Four wide, so rows lie back to back: a pixel past the right edge would
  // show at the start of the next row.
  Surface src = Make("123|456");
  struct Case {
    int dx, dy;
    const char* result;
  } cases[] = {{1, 1, "9999|9123|9456"},  {-1, -1, "5699|9999|9999"}, {2, 0, "9912|9945|9999"},
               {-2, 2, "9999|9999|3999"}, {3, 2, "9999|9999|9991"},   {-3, 1, "9999|9999|9999"},
               {4, 0, "9999|9999|9999"},  {0, 3, "9999|9999|9999"},   {0, -2, "9999|9999|9999"}};
  for (const Case& c : cases) {
    Surface target = Make("9999|9999|9999");
    target.Blit(src, {0, 0, 3, 2}, c.dx, c.dy);
    EXPECT_EQ(Show(target), c.result) << c.dx << "," << c.dy;
  }
  // Only the source rectangle, kept inside the source; the key is skipped.
  Surface target = Make("9999|9999|9999");
  target.BlitKeyed(src, {-1, -1, 9, 1}, -1, 0, 3);
  EXPECT_EQ(Show(target), "9999|1299|9999");
  target.Fill({-3, 1, 2, 9}, 7);
  target.Fill({3, -1, 9, 1}, 6);
  EXPECT_EQ(Show(target), "9996|7799|7799");
}

TEST(Bitmap, RowsReadTopFirstWhicheverWayTheyAreStoredWithTheColourTableAsRgb) {
  for (bool topDown : {false, true}) {
    NDib256 dib(Packed("12345|67891", topDown));
    ASSERT_FALSE(dib.IsEmpty());
    EXPECT_EQ(dib.PixelAt(0, 0), 1);
    EXPECT_EQ(dib.PixelAt(4, 1), 1);
    EXPECT_EQ(dib.PixelAt(0, 1), 6);
  }
  PaletteEntry e[2];
  NDib256(Packed("1")).GetPalette(9, 2, e);
  EXPECT_EQ(std::make_tuple(e[1].red, e[1].green, e[1].blue), std::make_tuple(30, 20, 10));
  std::vector<uint8_t> bad = Packed("123|456");
  bad[14] = 24;
  EXPECT_TRUE(NDib256(bad).IsEmpty());
  bad = Packed("123|456");
  bad[16] = 1;  // compressed
  EXPECT_TRUE(NDib256(bad).IsEmpty());
  bad = Packed("123|456");
  bad.pop_back();
  EXPECT_TRUE(NDib256(bad).IsEmpty());
}

TEST(Sprite, FramesStackTopDownAndOnlyWholeOnesOrOpaquePixelsAreDrawn) {
  // Three 3x2 frames and a row that belongs to none; 5 is the colour key.
  NSprite256 sprite(NDib256(Packed("512|222|333|344|466|667|999")), 3);
  EXPECT_EQ(std::make_pair(sprite.GetWidth(), sprite.GetHeight()), std::make_pair(3, 2));
  Surface target(4, 3);
  sprite.SetPosition(1, 1);
  sprite.Draw(&target);
  EXPECT_EQ(Show(target), "....|..12|.222");
  sprite.SetFrame(2);
  sprite.Draw(&target);
  EXPECT_EQ(Show(target), "....|.466|.667");
  sprite.SetFrame(3);  // outside the strip: nothing
  sprite.SetTransparent(false);
  sprite.Draw(&target);
  EXPECT_EQ(Show(target), "....|.466|.667");
  sprite.SetFrame(0);
  sprite.SetPosition(0, 0);
  sprite.Draw(&target);
  EXPECT_EQ(Show(target), "512.|2226|.667");
  NSprite256(99999, 2).Draw(&target);  // a missing bitmap draws nothing
  EXPECT_EQ(Show(target), "512.|2226|.667");
}

TEST(Sprite, HitsNeedOpaquePixelsOfBothAtOnePlace) {
  NSprite256 a(Make(".1|11"), 1);  // the top-left pixel is the key: 0 here
  NSprite256 b(Make(".2|2."), 1);
  struct Case {
    int bx, by;
    bool hit;
  } cases[] = {{1, 0, true}, {-1, 1, true}, {0, -1, false}, {1, 1, false}, {2, 0, false}};
  for (const Case& c : cases) {
    b.SetPosition(c.bx, c.by);
    EXPECT_EQ(a.IsHit(b), c.hit) << c.bx << "," << c.by;
    EXPECT_EQ(b.IsHit(a), c.hit) << c.bx << "," << c.by;
  }
}

TEST(Sprite, MovesAlongTheCompassRoundsHalvesAwayFromZeroAndAnimatesByItsDelay) {
  FillDirectionTables();
  NSprite256 sprite(Surface(4, 40), 4);
  sprite.SetSpeed(2.5f);
  sprite.SetDirection(16);  // left
  sprite.Move();
  EXPECT_EQ(sprite.GetX(), -3);
  sprite.SetDirection(8);  // up
  sprite.Move();
  EXPECT_EQ(std::make_pair(sprite.GetX(), sprite.GetY()), std::make_pair(-3, -3));
  sprite.SetAnimation(1);  // each frame held for two calls
  std::string frames;
  for (int i = 0; i < 9; ++i) {
    sprite.Animate();
    frames += std::to_string(sprite.GetFrame()) + (sprite.IsAnimationRunning() ? "" : "!");
  }
  EXPECT_EQ(frames, "01122330!0!");
}

TEST(Sprite, LeavesTheScreenWithItsFirstPixelOutsideAndIsOutWithItsLast) {
  NSprite256 sprite(Surface(4, 10), 1);  // on the 640x480 screen
  struct Case {
    int x, y;
    bool leaving, out;
  } cases[] = {{0, 0, false, false},  {636, 470, false, false}, {-1, 0, true, false},  {0, -1, true, false},
               {637, 0, true, false}, {0, 471, true, false},    {-3, -9, true, false}, {639, 479, true, false},
               {-4, 0, true, true},   {0, -10, true, true},     {640, 0, true, true},  {0, 480, true, true}};
  for (const Case& c : cases) {
    sprite.SetPosition(c.x, c.y);
    EXPECT_EQ(std::make_pair(sprite.IsLeavingScreen(), sprite.IsOutOfScreen()), std::make_pair(c.leaving, c.out))
        << c.x << "," << c.y;
  }
}

class Text : public WorldTest {};

TEST_F(Text, LettersDigitsAndNumbersUseTheirGlyphCells) {
  Surface upper(200, 22), lower(200, 22), spaced(200, 22);
  NAscii font;
  font.SetTarget(&upper);
  EXPECT_EQ(font.DrawText(0, 0, "AZ09-."), 66);
  font.SetTarget(&lower);
  font.DrawText(0, 0, "az09-.");
  EXPECT_EQ(Show(upper), Show(lower));  // small letters are drawn as capitals
  font.SetTarget(&spaced);
  EXPECT_EQ(font.DrawText(0, 0, "A, Z"), 44);  // other characters leave their cell empty
  Surface az(200, 22);
  font.SetTarget(&az);
  font.DrawText(0, 0, "A");
  font.DrawText(33, 0, "Z");
  EXPECT_EQ(Show(spaced), Show(az));
  // Numbers pad with zeros and keep their last digits; a negative one starts
  // with the dash.
  Surface a(100, 22), b(100, 22);
  NNumber digits;
  digits.SetTarget(&a);
  EXPECT_EQ(digits.DrawNumber(0, 0, 7, 3), 42);
  digits.SetTarget(&b);
  digits.DrawNumber(0, 0, 12007, 3);
  EXPECT_EQ(Show(a), Show(b));
  EXPECT_EQ(digits.DrawNumber(0, 0, 0, 1), 14);
  Surface minus(100, 22), dashed(100, 22);
  digits.SetTarget(&minus);
  EXPECT_EQ(digits.DrawNumber(0, 0, -5, 2), 42);
  digits.SetTarget(&dashed);
  digits.DrawNumber(digits.DrawDash(0, 0), 0, 5, 2);
  EXPECT_EQ(Show(minus), Show(dashed));
}

TEST(Scale, ThePictureIsEnlargedByTheLargestWholeFactorAndCentredOnBlack) {
  Palette palette{};
  for (size_t i = 0; i < 256; ++i) palette[i].blue = static_cast<uint8_t>(i);
  constexpr uint32_t kUntouched = 0x12345678u;
  // Each buffer pixel as its palette index ('.' for black), 'x' where the
  // row's padding was left alone.
  auto scaled = [&](const std::string& picture, int w, int h, int pitch, const OverlayView& overlay = {}) {
    std::vector<uint32_t> out(static_cast<size_t>(pitch * h), kUntouched);
    ConvertAndScale(Make(picture), palette, out.data(), w, h, pitch, overlay);
    std::string text;
    for (size_t i = 0; i < out.size(); ++i) {
      uint32_t v = out[i];
      text += v == kUntouched ? 'x' : v == 0xFF000000u ? '.' : static_cast<char>('0' + (v & 0xFF));
      if ((i + 1) % static_cast<size_t>(pitch) == 0 && i + 1 < out.size()) text += '|';
    }
    return text;
  };
  EXPECT_EQ(scaled("12|34", 7, 5, 8), ".1122..x|.1122..x|.3344..x|.3344..x|.......x");
  EXPECT_EQ(scaled("12|34", 2, 2, 2), "12|34");
  EXPECT_EQ(scaled("123|456|789", 1, 1, 1), "5");  // a smaller buffer shows the middle
  // The shell's layer covers the picture where it is not transparent (index 9
  // here), on the rows it says it holds.
  Surface layer = Make("59|97");
  EXPECT_EQ(scaled("12|34", 4, 2, 4, {&layer, 9, 0, 2}), ".52.|.37.");
  EXPECT_EQ(scaled("12|34", 4, 2, 4, {&layer, 9, 1, 2}), ".12.|.37.");
}

// Fill: as large as fits keeping the shape, first nearest by the smallest
// whole factor at least as large, then smoothly down: the corners keep
// their colours and an edge between two pixels blends over one output pixel.
TEST(Scale, FillKeepsTheShapeAndBlendsEachEdgeOverOnePixelAtMost) {
  struct Case {
    int outWidth, outHeight;
    Placement place;
  };
  for (const Case& c : {Case{1366, 768, {171, 0, 1024, 768, 2}}, Case{1280, 960, {0, 0, 1280, 960, 2}},
                        Case{1920, 1080, {240, 0, 1440, 1080, 3}}, Case{800, 1000, {0, 200, 800, 600, 2}},
                        Case{600, 400, {-20, -40, 640, 480, 1}}}) {
    Placement p = PlacePicture(640, 480, c.outWidth, c.outHeight, Fit::Fill);
    EXPECT_EQ(std::tie(p.left, p.top, p.width, p.height, p.factor),
              std::tie(c.place.left, c.place.top, c.place.width, c.place.height, c.place.factor))
        << c.outWidth << "x" << c.outHeight;
  }
  Palette palette{};
  for (size_t i = 0; i < 5; ++i) palette[i].blue = static_cast<uint8_t>(50 * i);
  std::vector<uint32_t> out(4 * 3, 0);
  ConvertAndFill(Make("12|34"), palette, out.data(), 3, 3, 4);
  std::vector<int> blue;
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) blue.push_back(static_cast<int>(out[static_cast<size_t>(y * 4 + x)] & 0xFF));
  }
  EXPECT_EQ(blue, (std::vector<int>{50, 75, 100, 100, 125, 150, 150, 175, 200}));
  EXPECT_EQ(out[3], 0u);  // the row's padding is left alone
}

TEST(FitPicture, WholeFactorsCentredAndWindowsThatFitTheDesktop) {
  struct Case {
    int outWidth, outHeight, factor, left, top;
  };
  for (const Case& c : {Case{1920, 1080, 2, 320, 60}, Case{1280, 1024, 2, 0, 32}, Case{1279, 1024, 1, 319, 272},
                        Case{2560, 1440, 3, 320, 0}, Case{600, 400, 1, -20, -40}}) {
    PictureRect r = FitPicture(640, 480, c.outWidth, c.outHeight);
    EXPECT_EQ(std::tie(r.factor, r.left, r.top), std::tie(c.factor, c.left, c.top)) << c.outWidth << "x" << c.outHeight;
  }
  // The wanted scale, lowered to what fits the usable area, never below 1.
  EXPECT_EQ(FitScale(3, 640, 480, 1920, 1053), 2);
  EXPECT_EQ(FitScale(3, 640, 480, 1920, 1440), 3);
  EXPECT_EQ(FitScale(2, 640, 480, 2560, 1440), 2);
  EXPECT_EQ(FitScale(2, 640, 480, 1366, 768), 1);
  EXPECT_EQ(FitScale(4, 640, 480, 600, 400), 1);
}
