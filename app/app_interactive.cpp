// Kestrune: the interactive game's start. SDL with audio, video and game controllers;
// without it the game cannot run at all.
#include <SDL.h>

#include <cstdio>

#include "app/app.h"

int app_run_interactive() {
    if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return 1;
    }
    // The window, the main loop and the screens follow here.
    SDL_Quit();
    return 0;
}
