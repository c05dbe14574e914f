#include "base/game_pad.h"

#include "base/play_keys.h"

#include <SDL.h>
#include <allegro.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

// A stick resting within a quarter of its throw aims nowhere.
constexpr int kStickDeadZone = 8192;
// A trigger counts as pulled past a third of its travel.
constexpr int kTriggerPulled = 10923;
// A stick aims diagonally when its smaller component is at least
// tan(22.5 degrees) of the larger: eight equal sectors.
constexpr long kDiagonalNumerator = 414;
constexpr long kDiagonalDenominator = 1000;

// What the pads held at the last read, pads together.
enum PadInput : unsigned {
    kA = 1u << 0, kB = 1u << 1, kX = 1u << 2, kY = 1u << 3, kBack = 1u << 4, kStart = 1u << 5,
    kLeftShoulder = 1u << 6, kRightShoulder = 1u << 7, kLeftTrigger = 1u << 8, kRightTrigger = 1u << 9,
    kUp = 1u << 10, kDown = 1u << 11, kLeft = 1u << 12, kRight = 1u << 13,
};

struct ButtonInput {
    SDL_GameControllerButton button;
    unsigned input;
};
constexpr ButtonInput kButtons[] = {
    {SDL_CONTROLLER_BUTTON_A, kA},
    {SDL_CONTROLLER_BUTTON_B, kB},
    {SDL_CONTROLLER_BUTTON_X, kX},
    {SDL_CONTROLLER_BUTTON_Y, kY},
    {SDL_CONTROLLER_BUTTON_BACK, kBack},
    {SDL_CONTROLLER_BUTTON_START, kStart},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, kLeftShoulder},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, kRightShoulder},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, kUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, kDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, kLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, kRight},
};

// In the order of PlayAction.
constexpr unsigned kActionInputs[kPlayActionCount] = {
    kBack, kY, kRightShoulder | kRightTrigger, kLeftShoulder | kLeftTrigger, kX, kLeft, kRight, kUp, kDown, kA,
};

struct KeyInput {
    int scancode;
    unsigned input;
};
constexpr KeyInput kKeyInputs[] = {
    {KEY_UP, kUp}, {KEY_DOWN, kDown}, {KEY_LEFT, kLeft}, {KEY_RIGHT, kRight},
    {KEY_ENTER, kA}, {KEY_ESC, kB}, {KEY_P, kStart},
};

bool started = false;
std::vector<SDL_GameController*> pads;
unsigned held = 0;

void openPad(int deviceIndex)
{
    SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex);
    if (pad == nullptr) {
        return;
    }
    for (SDL_GameController* open : pads) {
        if (open == pad) {  // SDL hands back the pad already open
            SDL_GameControllerClose(pad);
            return;
        }
    }
    pads.push_back(pad);
}

void closePad(SDL_JoystickID id)
{
    for (auto it = pads.begin(); it != pads.end(); ++it) {
        if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(*it)) == id) {
            SDL_GameControllerClose(*it);
            pads.erase(it);
            return;
        }
    }
}

// The left stick's direction, or none inside the dead zone.
unsigned stickDirections(SDL_GameController* pad)
{
    const long x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    const long y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
    if (x * x + y * y < static_cast<long>(kStickDeadZone) * kStickDeadZone) {
        return 0;
    }
    unsigned directions = 0;
    if (std::labs(x) * kDiagonalDenominator >= std::labs(y) * kDiagonalNumerator) {
        directions |= x < 0 ? kLeft : kRight;
    }
    if (std::labs(y) * kDiagonalDenominator >= std::labs(x) * kDiagonalNumerator) {
        directions |= y < 0 ? kUp : kDown;
    }
    return directions;
}

unsigned padInputs(SDL_GameController* pad)
{
    unsigned inputs = stickDirections(pad);
    for (const ButtonInput& button : kButtons) {
        if (SDL_GameControllerGetButton(pad, button.button)) {
            inputs |= button.input;
        }
    }
    if (SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT) > kTriggerPulled) {
        inputs |= kLeftTrigger;
    }
    if (SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) > kTriggerPulled) {
        inputs |= kRightTrigger;
    }
    return inputs;
}

}  // namespace

bool startGamePads(const std::string& userMappings, std::string& error)
{
    if (started) {
        return true;
    }
    // SDL keeps its hands off the signals and reads the pads with no window
    // of its own: the library has the screen and the keyboard.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_Init(SDL_INIT_GAMECONTROLLER) != 0) {
        error = std::string("game pads cannot be used: ") + SDL_GetError();
        return false;
    }
    started = true;
    std::error_code missing;
    if (!userMappings.empty() && std::filesystem::exists(userMappings, missing) &&
        SDL_GameControllerAddMappingsFromFile(userMappings.c_str()) < 0) {
        error = userMappings + ": " + SDL_GetError() + "; the built-in pad mappings are used";
    }
    for (int device = 0; device < SDL_NumJoysticks(); ++device) {
        if (SDL_IsGameController(device)) {
            openPad(device);
        }
    }
    return true;
}

void stopGamePads()
{
    if (!started) {
        return;
    }
    for (SDL_GameController* pad : pads) {
        SDL_GameControllerClose(pad);
    }
    pads.clear();
    held = 0;
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    SDL_Quit();
    started = false;
}

bool gamePadsStarted()
{
    return started;
}

int openGamePadCount()
{
    return static_cast<int>(pads.size());
}

void pollGamePads()
{
    if (!started) {
        return;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_CONTROLLERDEVICEADDED) {
            openPad(event.cdevice.which);
        } else if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
            closePad(event.cdevice.which);
        }
    }
    // A pad pulled out lets go of all it held.
    held = 0;
    for (SDL_GameController* pad : pads) {
        if (SDL_GameControllerGetAttached(pad)) {
            held |= padInputs(pad);
        }
    }
}

bool padAction(PlayAction action)
{
    return (held & kActionInputs[static_cast<int>(action)]) != 0;
}

bool padKey(int scancode)
{
    for (const KeyInput& stand : kKeyInputs) {
        if (stand.scancode == scancode) {
            return (held & stand.input) != 0;
        }
    }
    return false;
}

bool padPageButtonHeld()
{
    return (held & (kA | kB | kStart)) != 0;
}

bool keyOrPad(int scancode)
{
    return key[scancode] || padKey(scancode);
}
