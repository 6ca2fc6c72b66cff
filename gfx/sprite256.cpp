#include "gfx/sprite256.h"

#include <algorithm>

#include "base/math_util.h"
#include "gfx/display.h"

namespace {
// Directions of 32 and more wrap round the compass.
constexpr int kDirectionMask = 31;
}  // namespace

NSprite256::NSprite256(int resourceId, int frames) : frameCount(frames) {
  NDib256 dib(resourceId);
  BuildFrom(dib);
}

NSprite256::NSprite256(const NDib256& dib, int frames) : frameCount(frames) { BuildFrom(dib); }

NSprite256::NSprite256(const Surface& strip, int frames) : frameCount(frames) {
  std::unique_ptr<Surface> copy = CreateOffscreenSurface(strip.Width(), strip.Height());
  copy->Blit(strip, {0, 0, strip.Width(), strip.Height()}, 0, 0);
  surface = std::move(copy);
  FinishBuild();
}

NSprite256::~NSprite256() = default;

void NSprite256::BuildFrom(const NDib256& dib) {
  // An empty bitmap (a missing resource) gives an empty surface: the sprite
  // then has no frames to draw or hit, but stays safe to use.
  surface = dib.TopDown();
  FinishBuild();
}

void NSprite256::FinishBuild() {
  bool empty = surface->Width() == 0 || surface->Height() == 0;
  colorKey = empty ? 0 : surface->At(0, 0);
  width = surface->Width();
  // Rows below the last whole frame belong to no frame.
  height = frameCount > 0 ? surface->Height() / frameCount : 0;
}

int NSprite256::GetX() const { return RoundToInt(x); }

int NSprite256::GetY() const { return RoundToInt(y); }

void NSprite256::Move() {
  if (direction < 0) return;
  size_t d = static_cast<size_t>(direction & kDirectionMask);
  // Each product is rounded to float on its own before it is added, so that
  // paths come out the same on every compiler.
  float dx = cosTable[d] * speed;
  float dy = sinTable[d] * speed;
  x += dx;
  y -= dy;
}

void NSprite256::SetCenter(int cx, int cy) {
  x = static_cast<float>(cx - width / 2);
  y = static_cast<float>(cy - height / 2);
}

void NSprite256::Shift(int dx, int dy) {
  x += static_cast<float>(dx);
  y += static_cast<float>(dy);
}

void NSprite256::NextFrame() {
  if (frameCount <= 0) return;
  // In 64 bits: a script may have set any frame, INT_MAX included.
  frame = static_cast<int>((static_cast<int64_t>(frame) + 1) % frameCount);
}

void NSprite256::SetAnimation(int delay) {
  animationDelay = delay;
  animationTick = 0;
}

void NSprite256::Animate() {
  if (frameCount <= 0) return;
  // A negative delay would divide by zero; it holds frames for one call.
  int hold = std::max(1, animationDelay + 1);
  animationTick = (animationTick + 1) % (frameCount * hold);
  frame = animationTick / hold;
  if (animationTick == 0 && animationRunning == 1) animationRunning = 0;
}

bool NSprite256::HasFrame() const { return height > 0 && width > 0 && frame >= 0 && frame < frameCount; }

void NSprite256::Draw(Surface* target) const {
  if (!target || !HasFrame()) return;
  Rect from{0, frame * height, width, (frame + 1) * height};
  if (transparent) {
    target->BlitKeyed(*surface, from, GetX(), GetY(), colorKey);
  } else {
    target->Blit(*surface, from, GetX(), GetY());
  }
}

bool NSprite256::IsHit(const NSprite256& other) const {
  if (!HasFrame() || !other.HasFrame()) return false;
  int ax = GetX();
  int ay = GetY();
  int bx = other.GetX();
  int by = other.GetY();
  // Inclusive edges: a frame ending at column 9 and one starting at 10 only
  // touch.
  int left = std::max(ax, bx);
  int top = std::max(ay, by);
  int right = std::min(ax + width - 1, bx + other.width - 1);
  int bottom = std::min(ay + height - 1, by + other.height - 1);
  if (left > right || top > bottom) return false;
  int aTop = frame * height;
  int bTop = other.frame * other.height;
  for (int row = top; row <= bottom; ++row) {
    const uint8_t* a = surface->Row(aTop + row - ay);
    const uint8_t* b = other.surface->Row(bTop + row - by);
    for (int col = left; col <= right; ++col) {
      if (a[col - ax] != colorKey && b[col - bx] != other.colorKey) return true;
    }
  }
  return false;
}

bool NSprite256::IsOutOfScreen() const {
  int sx = GetX();
  int sy = GetY();
  return sy <= -height || sx <= -width || sy >= GetScreenHeight() || sx >= GetScreenWidth();
}

bool NSprite256::IsLeavingScreen() const {
  int sx = GetX();
  int sy = GetY();
  return sy < 0 || sx < 0 || sy > GetScreenHeight() - height || sx > GetScreenWidth() - width;
}
