// Kestrune: the title-picture writer. The title screen painted twice on a software
// renderer, its instructions page and its high-score page, saved as BMP files.
#include <SDL.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "app/app.h"
#include "gfx/gfx.h"
#include "text/text.h"

namespace {

// Kept for the whole process: the mode ends without taking them down.
SDL_Surface *title_surface = nullptr;
SDL_Renderer *title_renderer = nullptr;

}  // namespace

int app_run_title_pictures(const char *path) {
    // Both pictures' pictures decode on worker threads while the mode sets up; Danish
    // shows the logo, which gfx_init loads, instead of a title picture.
    gfx_decode_ahead_startup();
    gfx_decode_ahead_background(0);
    gfx_decode_ahead_background(1);
    text_decode_ahead(lang_get() != 0);
    SDL_Init(0);
    title_surface = SDL_CreateRGBSurfaceWithFormat(0, 1000, 736, 32, SDL_PIXELFORMAT_ARGB8888);
    if (title_surface) title_renderer = SDL_CreateSoftwareRenderer(title_surface);
    gfx_init(title_renderer);
    srand(3);
    // Four seconds of confetti spread it over the canvas.
    for (int i = 0; i < 240; i++) game_update_confetti();

    // The painter covers the whole canvas, and the software renderer draws straight
    // into the surface: no clear, no present.
    // A full disk left empty files and status 0: each picture is checked, and the first
    // failure is reported and ends the mode.
    app_frame = 31;
    gfx_draw_title_screen();
    if (!app_output_bmp(path, title_surface)) {
        app_report_output_failure("--titelbillede");
        return 1;
    }

    app_frame = 451;
    gfx_draw_title_screen();
    char second[APP_PATH_ROOM];
    int n = std::snprintf(second, sizeof second, "%s.2.bmp", path);
    if (n < 0 || (size_t)n >= sizeof second) {
        app_output_fail(second, ENAMETOOLONG);
    } else {
        app_output_bmp(second, title_surface);
    }
    if (app_output_failed()) {
        app_report_output_failure("--titelbillede");
        return 1;
    }
    return 0;
}
