#include "input/input.h"

#include <array>
#include <deque>

#include "input/joystick.h"
#include "input/typed_text.h"

namespace {

struct InputState {
  JoystickReading joy;
  std::array<uint8_t, 256> keys{};
};

constexpr size_t kBufferedEvents = 160;
constexpr size_t kMaxTypedLength = 10;
constexpr int kJoyButtons = 4;
constexpr uint8_t kKeyDownBit = 0x80;
constexpr std::array<int, 3> kFireKeys = {key::kSpace, key::kLeftControl, key::kRightControl};
constexpr uint32_t kFireButton = 1u;

struct KeyEvent {
  int code;
  bool down;
};

struct InputModule {
  bool ready = false;
  bool acquired = false;
  // What the devices hold now; UpdateInput copies it into current.
  std::array<uint8_t, 256> liveKeys{};
  // The keys held on the keyboard, followed even while it is released.
  std::array<uint8_t, 256> heldKeys{};
  JoystickReading liveJoy;
  InputState current;
  InputState previous;
  std::deque<KeyEvent> buffered;
  bool holdToFire = false;
  // Updates each fire key (and then the pad's fire button) has been held.
  std::array<int, kFireKeys.size() + 1> heldUpdates{};
};

InputModule input;

bool ValidKey(int code) { return code >= 0 && code <= 255; }

}  // namespace

bool InitInput() {
  input = InputModule{};
  input.ready = true;
  input.acquired = true;
  return true;
}

void ReleaseInput() { input = InputModule{}; }

void AcquireKeyboard() {
  if (!input.ready || input.acquired) return;
  // Taken back, the keyboard reads the keys as they are held now: one held
  // through a pause is still down.
  input.acquired = true;
  input.liveKeys = input.heldKeys;
}

void UnacquireKeyboard() {
  if (!input.ready) return;
  input.acquired = false;
  input.liveKeys.fill(0);
}

void FeedKeyEvent(int code, bool down) {
  if (!input.ready || !ValidKey(code)) return;
  input.heldKeys[static_cast<size_t>(code)] = down ? kKeyDownBit : 0;
  if (!input.acquired) return;
  input.liveKeys[static_cast<size_t>(code)] = down ? kKeyDownBit : 0;
  // A full buffer loses the newest events, not the oldest.
  if (input.buffered.size() < kBufferedEvents) input.buffered.push_back({code, down});
}

void FeedJoystickState(bool present, int x, int y, uint32_t buttons) {
  // A pad that is gone reads centred with no buttons: reading it as pushed to
  // a corner would steer the player into the wall.
  input.liveJoy = present ? JoystickReading{true, x, y, buttons} : JoystickReading{};
}

void SetHoldToFire(bool on) { input.holdToFire = on; }

namespace {

// A held fire key counts as let go in the previous update every period-th
// update, so the queries see a new press.
void RepeatHeldFire() {
  for (size_t i = 0; i < input.heldUpdates.size(); ++i) {
    bool fireButton = i == kFireKeys.size();
    size_t at = fireButton ? 0 : static_cast<size_t>(kFireKeys[i]);
    bool down = fireButton ? (input.current.joy.buttons & kFireButton) != 0 : (input.current.keys[at] & kKeyDownBit);
    int& held = input.heldUpdates[i];
    held = down ? held + 1 : 0;
    if (!input.holdToFire || held <= 1 || (held - 1) % kHoldToFirePeriod != 0) continue;
    if (fireButton) {
      input.previous.joy.buttons &= ~kFireButton;
    } else {
      input.previous.keys[at] = 0;
    }
  }
}

}  // namespace

void UpdateInput() {
  input.previous = input.current;
  input.current = InputState{};
  input.current.joy = input.liveJoy;
  if (input.ready && input.acquired) input.current.keys = input.liveKeys;
  RepeatHeldFire();
}

int IsKeyDown(int code) {
  if (!input.ready || !ValidKey(code)) return 0;
  return (input.current.keys[static_cast<size_t>(code)] & kKeyDownBit) ? 1 : 0;
}

int IsKeyPressed(int code) {
  if (!input.ready || !ValidKey(code)) return 0;
  auto at = static_cast<size_t>(code);
  return (input.current.keys[at] & kKeyDownBit) && !(input.previous.keys[at] & kKeyDownBit) ? 1 : 0;
}

int GetKeyHorizontal() {
  if (!input.ready) return -1;
  // Right wins when both arrows are down.
  if (IsKeyDown(key::kRight)) return 0;
  if (IsKeyDown(key::kLeft)) return 16;
  return -1;
}

int IsJoyButtonPressed(int button) {
  if (button < 0 || button >= kJoyButtons || !input.current.joy.present) return 0;
  uint32_t bit = 1u << button;
  return (input.current.joy.buttons & bit) && !(input.previous.joy.buttons & bit) ? 1 : 0;
}

int IsJoyDirectionEntered(int direction) {
  if (!input.current.joy.present) return 0;
  return JoyDirection(input.current.joy) == direction && JoyDirection(input.previous.joy) != direction ? 1 : 0;
}

int GetJoyHorizontal() { return JoyHorizontal(input.current.joy); }

void ReadTypedText(NString& text) {
  if (!input.ready) return;
  std::deque<KeyEvent> events;
  events.swap(input.buffered);
  for (const KeyEvent& ev : events) {
    if (!ev.down) continue;
    int ch = TypedCharFromKeyCode(ev.code);
    if (ch < 0) continue;
    text.AppendChar(static_cast<char>(ch));
    if (static_cast<size_t>(text.GetLength()) >= kMaxTypedLength) return;
  }
}

void FlushTypedText() {
  if (input.ready) input.buffered.clear();
}

namespace {
std::vector<int> KeysDown(const std::array<uint8_t, 256>& keys) {
  std::vector<int> codes;
  for (size_t code = 0; code < keys.size(); ++code) {
    if (keys[code] & kKeyDownBit) codes.push_back(static_cast<int>(code));
  }
  return codes;
}

std::array<uint8_t, 256> KeyBits(const std::vector<int>& codes) {
  std::array<uint8_t, 256> keys{};
  for (int code : codes) {
    if (ValidKey(code)) keys[static_cast<size_t>(code)] = kKeyDownBit;
  }
  return keys;
}
}  // namespace

InputCarry CaptureInputCarry() {
  static_assert(std::tuple_size_v<decltype(InputCarry::fireHeld)> == std::tuple_size_v<decltype(input.heldUpdates)>);
  InputCarry carry;
  carry.down = KeysDown(input.heldKeys);
  carry.read = KeysDown(input.current.keys);
  carry.pad = input.liveJoy;
  carry.padRead = input.current.joy;
  carry.fireHeld = input.heldUpdates;
  return carry;
}

void RestoreInputCarry(const InputCarry& carry) {
  if (!input.ready) return;
  input.acquired = true;
  input.heldKeys = KeyBits(carry.down);
  input.liveKeys = input.heldKeys;
  input.current.keys = KeyBits(carry.read);
  input.previous = input.current;
  input.liveJoy = carry.pad;
  input.current.joy = carry.padRead;
  input.heldUpdates = carry.fireHeld;
  input.buffered.clear();
}
