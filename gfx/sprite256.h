#pragma once

#include <cstdint>
#include <memory>

#include "gfx/dib256.h"
#include "gfx/surface.h"

// The base of everything on screen: a strip of frames stacked vertically in
// one bitmap (frame 0 at the top), shown one frame at a time at a float
// position, moved along the 32-step compass, animated, drawn with its colour
// key and tested pixel for pixel against other sprites.
//
// A sprite draws from its bitmap's pixels in an 8-bit surface, shared by
// every sprite of that bitmap, so drawing is a single keyed blit. The colour
// key is the top-left pixel of frame 0.
class NSprite256 {
 public:
  // Loads bitmap resource `resourceId` and builds the sprite from it. A
  // missing or broken resource gives an empty sprite that draws and hits
  // nothing.
  NSprite256(int resourceId, int frames);
  // Builds from a bitmap the caller keeps; many sprites may share one.
  NSprite256(const NDib256& dib, int frames);
  // Builds from an in-memory strip (tests and tools); the pixels are copied.
  NSprite256(const Surface& strip, int frames);
  virtual ~NSprite256();
  NSprite256(const NSprite256&) = delete;
  NSprite256& operator=(const NSprite256&) = delete;

  // Screen position of the current frame's top-left corner, rounded half
  // away from zero. Sprites placed relative to another override these.
  virtual int GetX() const;
  virtual int GetY() const;
  // One step of `speed` pixels along `direction`; no direction, no step.
  virtual void Move();

  int GetCenterX() const { return GetX() + width / 2; }
  int GetCenterY() const { return GetY() + height / 2; }
  void SetX(int newX) { x = static_cast<float>(newX); }
  void SetY(int newY) { y = static_cast<float>(newY); }
  void SetPosition(int newX, int newY) {
    SetX(newX);
    SetY(newY);
  }
  void SetCenter(int cx, int cy);
  void Shift(int dx, int dy);

  float GetSpeed() const { return speed; }
  void SetSpeed(float newSpeed) { speed = newSpeed; }
  int GetDirection() const { return direction; }
  void SetDirection(int newDirection) { direction = newDirection; }

  int GetFrame() const { return frame; }
  // Any value is kept; a frame outside the strip simply shows nothing.
  void SetFrame(int newFrame) { frame = newFrame; }
  void NextFrame();
  // Holds each frame for delay + 1 calls of Animate, from the first frame.
  void SetAnimation(int delay);
  void Animate();
  // Cleared by the Animate call that completes the first full cycle.
  bool IsAnimationRunning() const { return animationRunning != 0; }

  int GetWidth() const { return width; }
  int GetHeight() const { return height; }
  int GetFrameCount() const { return frameCount; }
  void SetTransparent(bool flag) { transparent = flag ? 1 : 0; }

  // Blits the current frame to target at (GetX, GetY), clipped by the target.
  void Draw(Surface* target) const;
  // True when an opaque pixel of this frame lies on an opaque pixel of the
  // other sprite's current frame. The colour keys count even for sprites
  // drawn opaque.
  bool IsHit(const NSprite256& other) const;
  // The frame lies entirely outside the screen.
  bool IsOutOfScreen() const;
  // The frame is not entirely inside the screen.
  bool IsLeavingScreen() const;

 protected:
  float x = 0.0f;
  float y = 0.0f;
  float speed = 1.0f;
  int direction = -1;
  int width = 0;
  int height = 0;
  int frame = 0;
  int animationDelay = 0;
  int animationTick = 0;
  int frameCount = 0;
  int animationRunning = 1;
  int transparent = 1;
  uint8_t colorKey = 0;
  std::shared_ptr<const Surface> surface;

 private:
  void BuildFrom(const NDib256& dib);
  void FinishBuild();
  // Whether the current frame lies inside the strip; a script may set any
  // frame, and such a frame must neither draw nor hit.
  bool HasFrame() const;
};
