#include "input/input.h"

#include <array>
#include <deque>

namespace {

struct InputState {
  std::array<uint8_t, 256> keys{};
};

constexpr size_t kBufferedEvents = 160;

struct KeyEvent {
  int code;
  bool down;
};

struct InputModule {
  bool ready = false;
  bool acquired = false;
  std::array<uint8_t, 256> live{};
  InputState current;
  InputState previous;
  std::deque<KeyEvent> buffered;
};

InputModule input;

}  // namespace

bool InitInput() {
  input = InputModule{};
  input.ready = true;
  input.acquired = true;
  return true;
}

void ReleaseInput() { input = InputModule{}; }

void AcquireKeyboard() {
  if (input.ready) input.acquired = true;
}

void UnacquireKeyboard() {
  if (!input.ready) return;
  // A released keyboard forgets what was held, as the device does.
  input.acquired = false;
  input.live.fill(0);
}

void FeedKeyEvent(int code, bool down) {
  if (!input.ready || !input.acquired || code < 0 || code > 255) return;
  input.live[static_cast<size_t>(code)] = down ? 0x80 : 0;
  if (input.buffered.size() < kBufferedEvents) input.buffered.push_back({code, down});
}

void UpdateInput() {
  input.previous = input.current;
  input.current = InputState{};
  if (input.ready && input.acquired) input.current.keys = input.live;
}

int IsKeyDown(int code) {
  if (!input.ready || code < 0 || code > 255) return 0;
  return (input.current.keys[static_cast<size_t>(code)] & 0x80) ? 1 : 0;
}

int IsKeyPressed(int code) {
  if (!input.ready || code < 0 || code > 255) return 0;
  auto at = static_cast<size_t>(code);
  return (input.current.keys[at] & 0x80) && !(input.previous.keys[at] & 0x80) ? 1 : 0;
}

int GetKeyHorizontal() {
  if (!input.ready) return -1;
  if (IsKeyDown(key::kRight)) return 0;
  if (IsKeyDown(key::kLeft)) return 16;
  return -1;
}

int IsJoyButtonPressed(int) { return 0; }
int IsJoyDirectionEntered(int) { return 0; }
int GetJoyHorizontal() { return -1; }

void ReadTypedText(NString&) {}
void FlushTypedText() { input.buffered.clear(); }

void FeedJoystickState(bool, int, int, uint32_t) {}
