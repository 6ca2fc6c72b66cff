#pragma once

#include <SDL.h>

#include "input/joystick_source.h"

// The first pad or joystick, read once per frame. A known gamepad goes
// through SDL's game-controller layer (left stick and D-pad both steer; the
// south face button is button 0, then east, west, north, Back and Start),
// anything else through the raw joystick (axes 0 and 1, buttons 0 to 5).
class SdlJoystick : public JoystickSource {
 public:
  SdlJoystick() = default;
  ~SdlJoystick() override;
  SdlJoystick(const SdlJoystick&) = delete;
  SdlJoystick& operator=(const SdlJoystick&) = delete;

  // Starts SDL's pad support; false when it is not available.
  bool Start();
  JoystickReading Read() override;

 private:
  bool OpenFirst();
  void Close();
  JoystickReading ReadController() const;
  JoystickReading ReadJoystick() const;

  bool started_ = false;
  SDL_GameController* controller_ = nullptr;
  SDL_Joystick* joystick_ = nullptr;
  // A device that would not open is not tried again every frame.
  SDL_JoystickID refused_ = -1;
};
