#include <gtest/gtest.h>

#include "platform/sdl_joystick.h"

// SDL's virtual joysticks stand in for pads being plugged in and pulled out.
namespace {

constexpr int kVirtualDpadUp = 11;
constexpr int kVirtualDpadLeft = 13;
constexpr int kVirtualBack = 4;

class PadDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pad.Start()) << SDL_GetError(); }
  void TearDown() override {
    while (SDL_NumJoysticks() > 0) SDL_JoystickDetachVirtual(0);
  }
  // The virtual device behind a pad the game has opened, to set its input;
  // the next Read sees it.
  static SDL_Joystick* Device(int index) { return SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index)); }
  SdlJoystick pad;
};

}  // namespace

TEST_F(PadDeviceTest, AGamepadPluggedInLaterIsReadWithStickDpadAndFaceButtons) {
  EXPECT_EQ(pad.Read(), JoystickReading{});
  int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  EXPECT_EQ(pad.Read(), (JoystickReading{true, 0, 0, 0}));

  SDL_Joystick* device = Device(index);
  ASSERT_NE(device, nullptr);
  SDL_JoystickSetVirtualAxis(device, SDL_CONTROLLER_AXIS_LEFTX, 30000);
  SDL_JoystickSetVirtualAxis(device, SDL_CONTROLLER_AXIS_LEFTY, -20000);
  SDL_JoystickSetVirtualButton(device, SDL_CONTROLLER_BUTTON_A, 1);
  SDL_JoystickSetVirtualButton(device, SDL_CONTROLLER_BUTTON_Y, 1);
  SDL_JoystickSetVirtualButton(device, kVirtualBack, 1);  // the shell's, past the game's four
  EXPECT_EQ(pad.Read(), (JoystickReading{true, 30000, -20000, 0b11001}));
  SDL_JoystickSetVirtualButton(device, kVirtualBack, 0);

  // A D-pad direction wins over the stick on its axis.
  SDL_JoystickSetVirtualButton(device, kVirtualDpadLeft, 1);
  SDL_JoystickSetVirtualButton(device, SDL_CONTROLLER_BUTTON_A, 0);
  SDL_JoystickSetVirtualButton(device, SDL_CONTROLLER_BUTTON_B, 1);
  SDL_JoystickSetVirtualButton(device, SDL_CONTROLLER_BUTTON_X, 1);
  EXPECT_EQ(pad.Read(), (JoystickReading{true, -32768, -20000, 0b1110}));
  SDL_JoystickSetVirtualButton(device, kVirtualDpadUp, 1);
  EXPECT_EQ(pad.Read(), (JoystickReading{true, -32768, -32768, 0b1110}));
}

TEST_F(PadDeviceTest, APadPulledOutReadsAsNoPadAndTheNextOnePluggedInIsUsed) {
  int first = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0);
  ASSERT_GE(first, 0);
  EXPECT_TRUE(pad.Read().present);
  SDL_JoystickSetVirtualAxis(Device(first), 0, -32768);
  SDL_JoystickSetVirtualButton(Device(first), SDL_CONTROLLER_BUTTON_A, 1);
  EXPECT_EQ(pad.Read(), (JoystickReading{true, -32768, 0, 1}));
  SDL_JoystickDetachVirtual(first);
  EXPECT_EQ(pad.Read(), JoystickReading{});
  EXPECT_EQ(pad.Read(), JoystickReading{});

  // Anything that is not a known gamepad is read as a raw joystick: axes 0
  // and 1, buttons 0 to 5.
  int raw = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 3, 8, 0);
  ASSERT_GE(raw, 0);
  EXPECT_EQ(pad.Read(), (JoystickReading{true, 0, 0, 0}));
  SDL_Joystick* device = Device(raw);
  ASSERT_NE(device, nullptr);
  SDL_JoystickSetVirtualAxis(device, 0, 1234);
  SDL_JoystickSetVirtualAxis(device, 1, 32767);
  SDL_JoystickSetVirtualAxis(device, 2, -32768);
  for (int b : {1, 3, 4, 6}) SDL_JoystickSetVirtualButton(device, b, 1);
  EXPECT_EQ(pad.Read(), (JoystickReading{true, 1234, 32767, 0b11010}));
}
