#include "platform/sdl_joystick.h"

namespace {

// In the order of the reading's button numbers (input/joystick.h).
constexpr int kButtons = 6;
constexpr SDL_GameControllerButton kButtonOrder[kButtons] = {
    SDL_CONTROLLER_BUTTON_A,     // south
    SDL_CONTROLLER_BUTTON_B,     // east
    SDL_CONTROLLER_BUTTON_X,     // west
    SDL_CONTROLLER_BUTTON_Y,     // north
    SDL_CONTROLLER_BUTTON_BACK,  // the shell's options
    SDL_CONTROLLER_BUTTON_START,
};

// A pressed D-pad direction pushes the axis to its end; else the stick holds it.
int PadAxis(SDL_GameController* c, SDL_GameControllerAxis axis, SDL_GameControllerButton low,
            SDL_GameControllerButton high) {
  if (SDL_GameControllerGetButton(c, low)) return joy::kAxisMin;
  if (SDL_GameControllerGetButton(c, high)) return joy::kAxisMax;
  return SDL_GameControllerGetAxis(c, axis);
}

}  // namespace

SdlJoystick::~SdlJoystick() {
  Close();
  if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool SdlJoystick::Start() {
  started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  return started_;
}

bool SdlJoystick::OpenFirst() {
  if (SDL_NumJoysticks() < 1) return false;
  SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(0);
  if (id == refused_) return false;
  if (SDL_IsGameController(0)) {
    controller_ = SDL_GameControllerOpen(0);
  } else {
    joystick_ = SDL_JoystickOpen(0);
  }
  if (!controller_ && !joystick_) refused_ = id;
  return controller_ || joystick_;
}

void SdlJoystick::Close() {
  if (controller_) SDL_GameControllerClose(controller_);
  if (joystick_) SDL_JoystickClose(joystick_);
  controller_ = nullptr;
  joystick_ = nullptr;
}

JoystickReading SdlJoystick::Read() {
  if (!started_) return {};
  // The window's event pump does this too; doing it here makes the reading
  // fresh wherever the frame is run from. It also notices pads coming and going.
  SDL_JoystickUpdate();
  // A pad pulled out is let go; the next one plugged in is picked up.
  if ((controller_ && !SDL_GameControllerGetAttached(controller_)) ||
      (joystick_ && !SDL_JoystickGetAttached(joystick_))) {
    Close();
  }
  if (!controller_ && !joystick_ && !OpenFirst()) return {};
  return controller_ ? ReadController() : ReadJoystick();
}

JoystickReading SdlJoystick::ReadController() const {
  JoystickReading r;
  r.present = true;
  r.x = PadAxis(controller_, SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_BUTTON_DPAD_LEFT,
                SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  r.y = PadAxis(controller_, SDL_CONTROLLER_AXIS_LEFTY, SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  for (int b = 0; b < kButtons; ++b) {
    if (SDL_GameControllerGetButton(controller_, kButtonOrder[b])) r.buttons |= 1u << b;
  }
  return r;
}

JoystickReading SdlJoystick::ReadJoystick() const {
  JoystickReading r;
  r.present = true;
  int axes = SDL_JoystickNumAxes(joystick_);
  r.x = axes > 0 ? SDL_JoystickGetAxis(joystick_, 0) : 0;
  r.y = axes > 1 ? SDL_JoystickGetAxis(joystick_, 1) : 0;
  int buttons = SDL_JoystickNumButtons(joystick_);
  for (int b = 0; b < kButtons && b < buttons; ++b) {
    if (SDL_JoystickGetButton(joystick_, b)) r.buttons |= 1u << b;
  }
  return r;
}
