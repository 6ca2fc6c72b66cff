#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "base/nstring.h"
#include "input/joystick.h"

// Key codes of the keyboard state (the scan-code numbering the game reads).
namespace key {
constexpr int kEscape = 0x01;
constexpr int kBackspace = 0x0E;
constexpr int kP = 0x19;
constexpr int kEnter = 0x1C;
constexpr int kLeftControl = 0x1D;
constexpr int kS = 0x1F;
constexpr int kSpace = 0x39;
constexpr int kF1 = 0x3B;
constexpr int kF12 = 0x58;
constexpr int kKeypadEnter = 0x9C;
constexpr int kRightControl = 0x9D;
constexpr int kUp = 0xC8;
constexpr int kLeft = 0xCB;
constexpr int kRight = 0xCD;
constexpr int kDown = 0xD0;
}  // namespace key

// Set-up and release. Without a keyboard (never on our platform) every query
// answers "nothing". A released keyboard (while paused) sees no keys and
// buffers nothing until it is acquired again; then the keys held at that
// moment read as down.
bool InitInput();
void ReleaseInput();
void AcquireKeyboard();
void UnacquireKeyboard();

// Key events as they arrive from the window or a replayed input file.
void FeedKeyEvent(int code, bool down);

// Once per frame, before any query of that frame: keeps the previous state
// and takes the keyboard's state now.
void UpdateInput();
int IsKeyPressed(int code);
int IsKeyDown(int code);
// 0 while Right is down, else 16 while Left is down, else -1.
int GetKeyHorizontal();

// Hold to fire: while on, a fire key (Space, either Ctrl, pad button 0)
// that stays down reads as pressed anew in every kHoldToFirePeriod-th
// update it is held, the pace of quick tapping. Counting goes on while it
// is off, so switching it on and off keeps the beat.
constexpr int kHoldToFirePeriod = 4;
void SetHoldToFire(bool on);

// Pad buttons 0..3 going down this frame; a direction (0, 4, ... 28) entered
// this frame; 0 right, 16 left or -1 (also without a pad).
int IsJoyButtonPressed(int button);
int IsJoyDirectionEntered(int direction);
int GetJoyHorizontal();

// The key events (downs and ups) buffered since the last read, at most 160;
// later ones are lost. ReadTypedText appends the characters of the downs to
// text and stops as soon as text holds 10 or more, dropping the rest.
void ReadTypedText(NString& text);
void FlushTypedText();

// The pad as read this frame (from the platform or a replayed input file):
// axes -32768..32767 and a button mask; present false means no device.
void FeedJoystickState(bool present, int x, int y, uint32_t buttons);

// What the input carries from one frame to the next: the keys and pad held
// now, the keys and pad as the last update read them (a scene that stopped
// reading, such as a menu closing, leaves them older), and how many updates
// each fire key (Space, Left Ctrl, Right Ctrl, then pad button 0) has been
// held, the beat of hold to fire. A run kept alone starts from it.
struct InputCarry {
  std::vector<int> down;  // key codes, ascending
  std::vector<int> read;
  JoystickReading pad;
  JoystickReading padRead;
  std::array<int, 4> fireHeld{};

  bool operator==(const InputCarry&) const = default;
};
InputCarry CaptureInputCarry();
// Takes the carry as the keyboard's and pad's state (acquired, nothing typed).
void RestoreInputCarry(const InputCarry& carry);
