// What a room must not do: reach under the platform to SDL. Built only by room_walls_test.
#include <SDL.h>

int roomUsesSdl() { return SDL_GetTicks() > 0; }
