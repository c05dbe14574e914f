#include "tests/support/virtual_pad.h"

#include "base/game_pad.h"

#include <gtest/gtest.h>

#include <string>

VirtualPad::VirtualPad()
{
    std::string problem;
    EXPECT_TRUE(startGamePads("", problem)) << problem;
    SDL_VirtualJoystickDesc pad{};
    pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    pad.naxes = SDL_CONTROLLER_AXIS_MAX;
    pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    const int device = SDL_JoystickAttachVirtualEx(&pad);
    EXPECT_GE(device, 0) << SDL_GetError();
    joystick_ = SDL_JoystickOpen(device);
    EXPECT_NE(joystick_, nullptr) << SDL_GetError();
    pollGamePads();
}

void VirtualPad::button(SDL_GameControllerButton button, bool down)
{
    SDL_JoystickSetVirtualButton(joystick_, button, down ? SDL_PRESSED : SDL_RELEASED);
    pollGamePads();
}

// The joystick's raw reading for a controller axis: a trigger's 0 to 32767
// is the whole raw range, from its lowest value up.
static Sint16 rawAxis(int axis, int value)
{
    const bool trigger = axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
    return static_cast<Sint16>(trigger ? value * 2 + SDL_JOYSTICK_AXIS_MIN : value);
}

void VirtualPad::axis(SDL_GameControllerAxis axis, int value)
{
    SDL_JoystickSetVirtualAxis(joystick_, axis, rawAxis(axis, value));
    pollGamePads();
}

void VirtualPad::restAll()
{
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) SDL_JoystickSetVirtualButton(joystick_, b, SDL_RELEASED);
    for (int a = 0; a < SDL_CONTROLLER_AXIS_MAX; ++a) SDL_JoystickSetVirtualAxis(joystick_, a, rawAxis(a, 0));
    pollGamePads();
}

void VirtualPad::unplug()
{
    if (joystick_ == nullptr) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
    for (int device = 0; device < SDL_NumJoysticks(); ++device) {
        if (SDL_JoystickGetDeviceInstanceID(device) == id) SDL_JoystickDetachVirtual(device);
    }
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    pollGamePads();
}
