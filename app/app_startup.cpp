// Kestrune: the start of SDL for the interactive game. Video and controllers must start,
// on a display that can show the window; audio may fail, and then the game plays silent.
#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "app/app_private.h"

int app_video_driver_shows_nothing(const char *driver, const char *asked) {
    if (!driver) return 0;
    if (SDL_strcasecmp(driver, "offscreen") != 0 && SDL_strcasecmp(driver, "dummy") != 0) return 0;
    // SDL_VIDEODRIVER is a comma-separated list of driver names, any case.
    const char *p = asked ? asked : "";
    const size_t length = std::strlen(driver);
    while (*p) {
        const char *comma = std::strchr(p, ',');
        const size_t n = comma ? (size_t)(comma - p) : std::strlen(p);
        if (n == length && SDL_strncasecmp(p, driver, n) == 0) return 0;
        if (!comma) break;
        p = comma + 1;
    }
    return 1;
}

int app_start_sdl() {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return 1;
    }
    // Without a display SDL falls back on a driver that shows nothing, and the game ran
    // unseen for ever: that is only taken when SDL_VIDEODRIVER asks for it.
    const char *driver = SDL_GetCurrentVideoDriver();
    if (app_video_driver_shows_nothing(driver, SDL_GetHint(SDL_HINT_VIDEODRIVER))) {
        std::fprintf(stderr, "SDL: no display available (video driver %s)\n", driver);
        SDL_Quit();
        return 1;
    }
    // An audio driver that could not start stopped the game: it now plays silent.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "SDL: %s; playing without sound\n", SDL_GetError());
    }
    return 0;
}
