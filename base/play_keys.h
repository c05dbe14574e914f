// The actions of play and the keys that work them: the player may bind one
// or two keys of the library (named as its KEY_ constants without the
// prefix) to each action; unbound actions keep the game's own keys.
#pragma once

#include <array>
#include <string>

enum class PlayAction { Leave, Lock, Forward, Backward, Help, AimLeft, AimRight, AimUp, AimDown, Fire };
constexpr int kPlayActionCount = 10;
constexpr int kKeysPerAction = 2;

// An action's keys; 0 where no key is bound.
using ActionKeys = std::array<int, kKeysPerAction>;
using PlayBindings = std::array<ActionKeys, kPlayActionCount>;

const PlayBindings& defaultPlayBindings();
const PlayBindings& playBindings();  // the ones in force (the defaults at first)
void setPlayBindings(const PlayBindings& bindings);

// The action's word in settings ("forward", "aim_up", ...).
const char* playActionName(PlayAction action);
// The library's scancode for a key name ("SPACE"), 0 for a name it lacks.
int scancodeNamed(const std::string& name);
// The name of a scancode, "" for one the library lacks.
std::string keyName(int scancode);

// Whether any key of the action is down on the keyboard.
bool boundKeyDown(PlayAction action);
