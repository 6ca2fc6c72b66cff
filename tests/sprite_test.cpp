#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "base/math_util.h"
#include "base/resources.h"
#include "gfx/sprite256.h"
#include "packed_bitmap.h"

namespace {

constexpr int kTestBitmap = 9001;
constexpr uint8_t kBackground = 99;

// A strip of `frames` frames of w x h whose pixels come from paint(x, y in
// the whole strip).
Surface Strip(int w, int h, int frames, const std::function<uint8_t(int, int)>& paint) {
  Surface s(w, h * frames);
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < w; ++x) s.Row(y)[x] = paint(x, y);
  }
  return s;
}

// Frame f is colour 10 + f, except the top-left pixel of the strip, key 0.
Surface Numbered(int w, int h, int frames) {
  return Strip(w, h, frames, [h](int x, int y) { return x == 0 && y == 0 ? uint8_t{0} : uint8_t(10 + y / h); });
}

Surface Screen() {
  Surface s(640, 480);
  s.FillAll(kBackground);
  return s;
}

int CountNot(const Surface& s, uint8_t value) {
  int n = 0;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) n += s.At(x, y) != value;
  }
  return n;
}

class SpriteTest : public ::testing::Test {
 protected:
  void SetUp() override { FillDirectionTables(); }
  void TearDown() override { ClearResourceOverrides(); }
};

}  // namespace

TEST_F(SpriteTest, BuildsFramesFromABitmapResourceTopRowFirst) {
  // 3 wide, 8 high, 4 frames of 3x2; rows numbered so that orientation shows.
  std::vector<uint8_t> pixels;
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 3; ++c) pixels.push_back(static_cast<uint8_t>(r == 0 && c == 0 ? 7 : 20 + r));
  }
  std::vector<uint8_t> packed = PackedBitmap(3, 8, pixels);
  OverrideResource(ResourceType::Bitmap, kTestBitmap, packed);
  NSprite256 s(kTestBitmap, 4);
  EXPECT_EQ(s.GetWidth(), 3);
  EXPECT_EQ(s.GetHeight(), 2);
  EXPECT_EQ(s.GetFrameCount(), 4);
  EXPECT_EQ(s.GetColorKey(), 7);
  EXPECT_EQ(s.GetDirection(), -1);
  EXPECT_FLOAT_EQ(s.GetSpeed(), 1.0f);
  EXPECT_EQ(s.GetFrame(), 0);
  EXPECT_TRUE(s.IsAnimationRunning());
  EXPECT_TRUE(s.IsTransparent());

  Surface screen = Screen();
  s.SetTransparent(false);
  s.SetFrame(2);
  s.SetPosition(10, 20);
  s.Draw(&screen);
  EXPECT_EQ(screen.At(10, 20), 24);  // image row 4 is frame 2's top row
  EXPECT_EQ(screen.At(12, 21), 25);
  EXPECT_EQ(screen.At(10, 22), kBackground);
  EXPECT_EQ(CountNot(screen, kBackground), 6);

  // A shipped bitmap: the 6x6 palette carrier as one still frame.
  NSprite256 still(106, 1);
  EXPECT_EQ(still.GetWidth(), 6);
  EXPECT_EQ(still.GetHeight(), 6);
  still.Move();
  EXPECT_EQ(still.GetFloatX(), 0.0f);
  EXPECT_EQ(still.GetFloatY(), 0.0f);
}

TEST_F(SpriteTest, SpritesOutliveTheSharedBitmapTheyWereBuiltFrom) {
  std::vector<uint8_t> packed = PackedBitmap(2, 4, {1, 2, 3, 4, 5, 6, 7, 8});
  std::unique_ptr<NSprite256> a;
  std::unique_ptr<NSprite256> b;
  {
    NDib256 dib(packed);
    a = std::make_unique<NSprite256>(dib, 2);
    b = std::make_unique<NSprite256>(dib, 2);
  }
  b->SetFrame(1);
  a->SetTransparent(false);
  Surface screen = Screen();
  a->Draw(&screen);
  b->SetPosition(2, 0);
  b->Draw(&screen);
  EXPECT_EQ(screen.At(0, 0), 1);
  EXPECT_EQ(screen.At(1, 1), 4);
  EXPECT_EQ(screen.At(2, 0), 5);
  EXPECT_EQ(screen.At(3, 1), 8);
}

TEST_F(SpriteTest, RowsBelowTheLastWholeFrameAreNeverShown) {
  Surface strip7 = Strip(4, 1, 7, [](int, int y) { return uint8_t(30 + y); });
  NSprite256 odd(strip7, 3);  // 7 rows, 3 frames of 2 rows, row 6 unused
  EXPECT_EQ(odd.GetHeight(), 2);
  odd.SetTransparent(false);
  Surface screen = Screen();
  for (int f = 0; f < 3; ++f) {
    odd.SetFrame(f);
    odd.SetPosition(0, f * 2);
    odd.Draw(&screen);
  }
  for (int y = 0; y < 6; ++y) EXPECT_EQ(screen.At(0, y), 30 + y);
  EXPECT_EQ(screen.At(0, 6), kBackground);
}

TEST_F(SpriteTest, DrawIsKeyedWhenTransparentAndOpaqueOtherwise) {
  NSprite256 s(Numbered(4, 2, 3), 3);
  Surface screen = Screen();
  s.SetPosition(100, 50);
  s.Draw(&screen);
  EXPECT_EQ(screen.At(100, 50), kBackground);  // the key pixel is skipped
  EXPECT_EQ(screen.At(101, 50), 10);
  EXPECT_EQ(screen.At(103, 51), 10);
  EXPECT_EQ(CountNot(screen, kBackground), 7);
  s.SetTransparent(false);
  s.Draw(&screen);
  EXPECT_EQ(screen.At(100, 50), 0);
  s.SetFrame(2);
  s.SetPosition(200, 60);
  s.Draw(&screen);
  EXPECT_EQ(screen.At(200, 60), 12);
  EXPECT_EQ(screen.At(203, 61), 12);
  EXPECT_EQ(screen.At(204, 61), kBackground);
  EXPECT_EQ(screen.At(200, 62), kBackground);
}

TEST_F(SpriteTest, DrawClipsFramesPartlyOffScreen) {
  NSprite256 s(Numbered(4, 2, 1), 1);
  s.SetTransparent(false);
  struct Case {
    int x, y, drawn;
  } cases[] = {{-2, 0, 4}, {638, 10, 4}, {10, -1, 4}, {10, 479, 4}, {-3, -1, 1}, {-4, 0, 0}};
  for (const Case& c : cases) {
    Surface screen = Screen();
    s.SetPosition(c.x, c.y);
    s.Draw(&screen);
    EXPECT_EQ(CountNot(screen, kBackground), c.drawn) << c.x << "," << c.y;
  }
}

TEST_F(SpriteTest, FramesOutsideTheStripDrawAndHitNothing) {
  // Seven opaque rows for three frames of two: frame 3 would start on the
  // spare row if it were allowed to draw.
  NSprite256 s(Strip(4, 1, 7, [](int x, int y) { return x == 0 && y == 0 ? uint8_t{0} : uint8_t{8}; }), 3);
  NSprite256 other(Numbered(4, 2, 1), 1);
  s.SetTransparent(false);
  for (int frame : {3, 4, -1, 1000000}) {
    Surface screen = Screen();
    s.SetFrame(frame);
    s.Draw(&screen);
    EXPECT_EQ(CountNot(screen, kBackground), 0) << frame;
    EXPECT_FALSE(s.IsHit(other)) << frame;
    EXPECT_FALSE(other.IsHit(s)) << frame;
  }
  s.SetFrame(1);
  EXPECT_TRUE(s.IsHit(other));
}

TEST_F(SpriteTest, MissingBitmapGivesASpriteThatDrawsAndHitsNothing) {
  std::vector<uint8_t> broken = PackedBitmap(4, 4, std::vector<uint8_t>(16, 3));
  broken.resize(broken.size() - 1);  // one pixel byte short
  OverrideResource(ResourceType::Bitmap, kTestBitmap, broken);
  NSprite256 truncated(kTestBitmap, 1);
  NSprite256 missing(9999, 4);
  NSprite256 noFrames(Numbered(4, 2, 1), 0);
  NSprite256 solid(Numbered(40, 40, 1), 1);
  for (NSprite256* s : {&truncated, &missing, &noFrames}) {
    Surface screen = Screen();
    s->SetTransparent(false);
    s->Animate();
    s->NextFrame();
    s->Draw(&screen);
    EXPECT_EQ(CountNot(screen, kBackground), 0);
    EXPECT_FALSE(s->IsHit(solid));
    EXPECT_FALSE(solid.IsHit(*s));
  }
  EXPECT_EQ(missing.GetWidth(), 0);
  EXPECT_EQ(missing.GetHeight(), 0);
}

TEST_F(SpriteTest, MoveStepsAlongTheCompass) {
  NSprite256 s(Numbered(4, 4, 1), 1);
  struct Case {
    int direction;
    float speed, dx, dy;
  } cases[] = {
      {-1, 4.0f, 0.0f, 0.0f},  {8, 4.0f, 0.0f, -4.0f}, {0, 4.0f, 4.0f, 0.0f},
      {16, 2.0f, -2.0f, 0.0f}, {24, 3.0f, 0.0f, 3.0f}, {4, 1.0f, 0.707f, -0.707f},
      {40, 4.0f, 0.0f, -4.0f}, {-7, 4.0f, 0.0f, 0.0f}, {1, 10.0f, 9.81f, -1.95f},
  };
  for (const Case& c : cases) {
    s.SetPosition(0, 0);
    s.SetDirection(c.direction);
    s.SetSpeed(c.speed);
    s.Move();
    EXPECT_FLOAT_EQ(s.GetFloatX(), c.dx) << c.direction;
    EXPECT_FLOAT_EQ(s.GetFloatY(), c.dy) << c.direction;
    EXPECT_EQ(s.GetDirection(), c.direction);
  }
}

TEST_F(SpriteTest, PositionRoundsHalvesAwayFromZero) {
  NSprite256 s(Numbered(5, 5, 1), 1);
  struct Case {
    int direction;
    float speed;
    int expected;
  } cases[] = {{0, 2.5f, 3}, {16, 2.5f, -3}, {0, 2.49f, 2}, {16, 2.49f, -2}};
  for (const Case& c : cases) {
    s.SetPosition(0, 0);
    s.SetDirection(c.direction);
    s.SetSpeed(c.speed);
    s.Move();
    EXPECT_EQ(s.GetX(), c.expected) << c.speed;
  }
  s.SetDirection(24);
  s.SetSpeed(2.5f);
  s.SetPosition(0, 0);
  s.Move();
  EXPECT_EQ(s.GetY(), 3);
  s.SetCenter(100, 50);
  EXPECT_EQ(s.GetX(), 98);
  EXPECT_EQ(s.GetY(), 48);
  EXPECT_EQ(s.GetCenterX(), 100);
  s.Shift(-3, 7);
  EXPECT_EQ(s.GetCenterX(), 97);
  EXPECT_EQ(s.GetCenterY(), 57);
}

TEST_F(SpriteTest, AnimateHoldsFramesAndEndsTheFirstCycle) {
  NSprite256 s(Numbered(2, 2, 4), 4);
  s.SetAnimation(1);
  const int expected[] = {0, 1, 1, 2, 2, 3, 3, 0};
  for (int i = 0; i < 8; ++i) {
    EXPECT_TRUE(s.IsAnimationRunning()) << i;
    s.Animate();
    EXPECT_EQ(s.GetFrame(), expected[i]) << i;
  }
  EXPECT_FALSE(s.IsAnimationRunning());
  s.Animate();
  s.Animate();
  EXPECT_EQ(s.GetFrame(), 1);  // keeps looping
  EXPECT_FALSE(s.IsAnimationRunning());

  NSprite256 t(Numbered(2, 2, 3), 3);
  t.SetFrame(2);
  t.NextFrame();
  EXPECT_EQ(t.GetFrame(), 0);
  t.NextFrame();
  EXPECT_EQ(t.GetFrame(), 1);
  t.SetAnimation(0);
  t.Animate();
  EXPECT_EQ(t.GetFrame(), 1);
  t.Animate();
  EXPECT_EQ(t.GetFrame(), 2);
  t.Animate();
  EXPECT_EQ(t.GetFrame(), 0);
  EXPECT_FALSE(t.IsAnimationRunning());
}

TEST_F(SpriteTest, HitNeedsOverlappingOpaquePixelsNotJustTouchingEdges) {
  // Opaque everywhere except the key 3 in the top-left corner; rows are
  // padded to 12 bytes with 0, which is opaque here, so a scan one column too
  // far would hit.
  auto corner = [](int x, int y) { return x == 0 && y == 0 ? uint8_t{3} : uint8_t{10}; };
  NSprite256 a(Strip(10, 10, 1, corner), 1);
  NSprite256 b(Strip(10, 10, 1, corner), 1);
  a.SetPosition(0, 0);
  b.SetPosition(10, 0);  // a ends at column 9, b starts at 10
  EXPECT_FALSE(a.IsHit(b));
  b.SetPosition(0, 10);
  EXPECT_FALSE(a.IsHit(b));
  b.SetPosition(9, 3);
  EXPECT_TRUE(a.IsHit(b));
  EXPECT_TRUE(b.IsHit(a));
  // Overlaps that fall on a key pixel of either sprite do not hit.
  b.SetPosition(-9, -9);  // b's corner on a's key
  EXPECT_FALSE(a.IsHit(b));
  b.SetPosition(9, 9);  // b's key on a's corner
  EXPECT_FALSE(a.IsHit(b));
  b.SetPosition(-9, -8);  // one more row: a's (0, 1) on b's (9, 9)
  EXPECT_TRUE(a.IsHit(b));
}

TEST_F(SpriteTest, TransparentOverlapsDoNotHitEvenWhenDrawnOpaque) {
  // p is opaque on columns 0..4 (but for its key corner), q on columns 5..9;
  // both keys are 0.
  NSprite256 p(Strip(10, 10, 1, [](int x, int y) { return x == 0 && y == 0 ? uint8_t{0} : uint8_t(x < 5 ? 5 : 0); }),
               1);
  NSprite256 q(Strip(10, 10, 1, [](int x, int) { return uint8_t(x < 5 ? 0 : 6); }), 1);
  p.SetTransparent(false);
  q.SetTransparent(false);
  q.SetPosition(0, 0);
  EXPECT_FALSE(p.IsHit(q));  // same rectangle, opaque parts side by side
  q.SetPosition(5, 0);
  EXPECT_FALSE(p.IsHit(q));  // the overlap is p's transparent half only
  q.SetPosition(-1, 0);
  EXPECT_TRUE(p.IsHit(q));  // q's column 5 now lies on p's column 4
  EXPECT_TRUE(q.IsHit(p));
}

TEST_F(SpriteTest, HitUsesEachSpritesCurrentFrame) {
  // Frame 0 transparent (all key), frame 1 opaque.
  Surface twoFrames = Strip(6, 6, 2, [](int, int y) { return uint8_t(y < 6 ? 0 : 9); });
  NSprite256 a(twoFrames, 2);
  NSprite256 b(Numbered(6, 6, 1), 1);
  b.SetPosition(2, 2);
  EXPECT_FALSE(a.IsHit(b));
  EXPECT_FALSE(b.IsHit(a));
  a.SetFrame(1);
  EXPECT_TRUE(a.IsHit(b));
  EXPECT_TRUE(b.IsHit(a));
}

TEST_F(SpriteTest, ScreenTestsUseTheWholeFrame) {
  NSprite256 s(Numbered(46, 46, 1), 1);
  struct Case {
    int x, y;
    bool out, leaving;
  } cases[] = {
      {-46, 100, true, true},  {-45, 100, false, true}, {0, 0, false, false},   {594, 434, false, false},
      {595, 100, false, true}, {100, 435, false, true}, {640, 100, true, true}, {639, 100, false, true},
      {100, -46, true, true},  {100, -45, false, true}, {100, 480, true, true}, {100, 479, false, true},
  };
  for (const Case& c : cases) {
    s.SetPosition(c.x, c.y);
    EXPECT_EQ(s.IsOutOfScreen(), c.out) << c.x << "," << c.y;
    EXPECT_EQ(s.IsLeavingScreen(), c.leaving) << c.x << "," << c.y;
  }
}
