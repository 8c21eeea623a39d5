// SDL key codes and Win32 virtual keys, one table for both directions.
#include "backend/sdl_backend.h"

namespace backend {
namespace sdl {
namespace {

struct KeyPair {
    SDL_Keycode sdl;
    int vk;
};

// Where two SDL keys make one virtual key, the first is what the sim presses.
const KeyPair kKeys[] = {
    {SDLK_ESCAPE, VK_ESCAPE},   {SDLK_RETURN, VK_RETURN},  {SDLK_KP_ENTER, VK_RETURN},  {SDLK_TAB, VK_TAB},
    {SDLK_BACKSPACE, VK_BACK},  {SDLK_SPACE, VK_SPACE},    {SDLK_LEFT, VK_LEFT},        {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},     {SDLK_DOWN, VK_DOWN},      {SDLK_HOME, VK_HOME},        {SDLK_END, VK_END},
    {SDLK_PAGEUP, VK_PRIOR},    {SDLK_PAGEDOWN, VK_NEXT},  {SDLK_INSERT, VK_INSERT},    {SDLK_DELETE, VK_DELETE},
    {SDLK_LSHIFT, VK_SHIFT},    {SDLK_RSHIFT, VK_SHIFT},   {SDLK_LCTRL, VK_CONTROL},    {SDLK_RCTRL, VK_CONTROL},
    {SDLK_LALT, VK_MENU},       {SDLK_RALT, VK_MENU},      {SDLK_PAUSE, VK_PAUSE},      {SDLK_CAPSLOCK, VK_CAPITAL},
};

}  // namespace

int VirtualKeyOf(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
    for (const KeyPair& pair : kKeys)
        if (pair.sdl == key) return pair.vk;
    return 0;
}

SDL_Keycode KeycodeOf(int virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') return SDLK_a + (virtualKey - 'A');
    if (virtualKey >= '0' && virtualKey <= '9') return SDLK_0 + (virtualKey - '0');
    if (virtualKey >= VK_F1 && virtualKey <= VK_F12) return SDLK_F1 + (virtualKey - VK_F1);
    for (const KeyPair& pair : kKeys)
        if (pair.vk == virtualKey) return pair.sdl;
    return SDLK_UNKNOWN;
}

}  // namespace sdl
}  // namespace backend
