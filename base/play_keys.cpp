#include "base/play_keys.h"

#include <allegro.h>

namespace {

struct NamedKey {
    const char* name;
    int scancode;
};

#define GLIM_KEY(name) {#name, KEY_##name}
constexpr NamedKey kKeyNames[] = {
    GLIM_KEY(A), GLIM_KEY(B), GLIM_KEY(C), GLIM_KEY(D), GLIM_KEY(E), GLIM_KEY(F), GLIM_KEY(G), GLIM_KEY(H),
    GLIM_KEY(I), GLIM_KEY(J), GLIM_KEY(K), GLIM_KEY(L), GLIM_KEY(M), GLIM_KEY(N), GLIM_KEY(O), GLIM_KEY(P),
    GLIM_KEY(Q), GLIM_KEY(R), GLIM_KEY(S), GLIM_KEY(T), GLIM_KEY(U), GLIM_KEY(V), GLIM_KEY(W), GLIM_KEY(X),
    GLIM_KEY(Y), GLIM_KEY(Z), GLIM_KEY(0), GLIM_KEY(1), GLIM_KEY(2), GLIM_KEY(3), GLIM_KEY(4), GLIM_KEY(5),
    GLIM_KEY(6), GLIM_KEY(7), GLIM_KEY(8), GLIM_KEY(9), GLIM_KEY(0_PAD), GLIM_KEY(1_PAD), GLIM_KEY(2_PAD),
    GLIM_KEY(3_PAD), GLIM_KEY(4_PAD), GLIM_KEY(5_PAD), GLIM_KEY(6_PAD), GLIM_KEY(7_PAD), GLIM_KEY(8_PAD),
    GLIM_KEY(9_PAD), GLIM_KEY(F1), GLIM_KEY(F2), GLIM_KEY(F3), GLIM_KEY(F4), GLIM_KEY(F5), GLIM_KEY(F6),
    GLIM_KEY(F7), GLIM_KEY(F8), GLIM_KEY(F9), GLIM_KEY(F10), GLIM_KEY(F11), GLIM_KEY(F12), GLIM_KEY(ESC),
    GLIM_KEY(TILDE), GLIM_KEY(MINUS), GLIM_KEY(EQUALS), GLIM_KEY(BACKSPACE), GLIM_KEY(TAB), GLIM_KEY(OPENBRACE),
    GLIM_KEY(CLOSEBRACE), GLIM_KEY(ENTER), GLIM_KEY(COLON), GLIM_KEY(QUOTE), GLIM_KEY(BACKSLASH),
    GLIM_KEY(BACKSLASH2), GLIM_KEY(COMMA), GLIM_KEY(STOP), GLIM_KEY(SLASH), GLIM_KEY(SPACE), GLIM_KEY(INSERT),
    GLIM_KEY(DEL), GLIM_KEY(HOME), GLIM_KEY(END), GLIM_KEY(PGUP), GLIM_KEY(PGDN), GLIM_KEY(LEFT),
    GLIM_KEY(RIGHT), GLIM_KEY(UP), GLIM_KEY(DOWN), GLIM_KEY(SLASH_PAD), GLIM_KEY(ASTERISK), GLIM_KEY(MINUS_PAD),
    GLIM_KEY(PLUS_PAD), GLIM_KEY(DEL_PAD), GLIM_KEY(ENTER_PAD), GLIM_KEY(PRTSCR), GLIM_KEY(PAUSE),
    GLIM_KEY(ABNT_C1), GLIM_KEY(YEN), GLIM_KEY(KANA), GLIM_KEY(CONVERT), GLIM_KEY(NOCONVERT), GLIM_KEY(AT),
    GLIM_KEY(CIRCUMFLEX), GLIM_KEY(COLON2), GLIM_KEY(KANJI), GLIM_KEY(EQUALS_PAD), GLIM_KEY(BACKQUOTE),
    GLIM_KEY(SEMICOLON), GLIM_KEY(COMMAND), GLIM_KEY(LSHIFT), GLIM_KEY(RSHIFT), GLIM_KEY(LCONTROL),
    GLIM_KEY(RCONTROL), GLIM_KEY(ALT), GLIM_KEY(ALTGR), GLIM_KEY(LWIN), GLIM_KEY(RWIN), GLIM_KEY(MENU),
    GLIM_KEY(SCRLOCK), GLIM_KEY(NUMLOCK), GLIM_KEY(CAPSLOCK),
};
#undef GLIM_KEY

// In the order of PlayAction.
constexpr const char* kActionNames[kPlayActionCount] = {
    "leave", "lock", "forward", "backward", "help", "aim_left", "aim_right", "aim_up", "aim_down", "fire",
};

const PlayBindings kDefaults = {{
    {KEY_ESC, 0},
    {KEY_T, 0},
    {KEY_LCONTROL, 0},
    {KEY_LSHIFT, KEY_ALT},
    {KEY_F1, 0},
    {KEY_LEFT, 0},
    {KEY_RIGHT, 0},
    {KEY_UP, 0},
    {KEY_DOWN, 0},
    {KEY_SPACE, 0},
}};

PlayBindings current = kDefaults;

}  // namespace

const PlayBindings& defaultPlayBindings()
{
    return kDefaults;
}

const PlayBindings& playBindings()
{
    return current;
}

void setPlayBindings(const PlayBindings& bindings)
{
    current = bindings;
}

const char* playActionName(PlayAction action)
{
    return kActionNames[static_cast<int>(action)];
}

int scancodeNamed(const std::string& name)
{
    for (const NamedKey& key : kKeyNames) {
        if (name == key.name) {
            return key.scancode;
        }
    }
    return 0;
}

std::string keyName(int scancode)
{
    for (const NamedKey& key : kKeyNames) {
        if (key.scancode == scancode) {
            return key.name;
        }
    }
    return "";
}

bool boundKeyDown(PlayAction action)
{
    for (int scancode : current[static_cast<int>(action)]) {
        if (scancode != 0 && key[scancode]) {
            return true;
        }
    }
    return false;
}
