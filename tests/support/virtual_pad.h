// A game pad in SDL's virtual joystick driver, standard layout, no device
// needed: tests press its buttons and tilt its sticks, and every change is
// read by the game at once (as the end of a pass would).
#pragma once

#include <SDL.h>

class VirtualPad {
public:
    VirtualPad();  // starts the pads when they are not yet, plugs this one in
    ~VirtualPad() { unplug(); }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    void button(SDL_GameControllerButton button, bool down);
    void axis(SDL_GameControllerAxis axis, int value);  // as the controller reads it
    void restAll();  // every button up, every stick and trigger at rest
    void unplug();

private:
    SDL_Joystick* joystick_ = nullptr;
};
