// Kestrune: the interactive game. Start-up (SDL, window, renderer, graphics, sound, the
// first controller), then the main loop: one iteration per displayed frame, with the
// game logic in fixed ticks of 1/60 s, as many as the elapsed time asks for.
#include <cstdio>

#include "app/app_private.h"
#include "gfx/gfx.h"
#include "sound/snd.h"
#include "text/text.h"

namespace {

// A window that is not shown sleeps this long a frame, whatever vertical sync does.
const Uint32 hidden_delay_ms = 10;

int stop_with_sdl_error() {
    std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
    SDL_Quit();
    return 1;
}

// The display's refresh rate where the window is, 0 when unknown.
int refresh_rate(SDL_Window *window) {
    SDL_DisplayMode mode;
    const int display = SDL_GetWindowDisplayIndex(window);
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return 0;
    return mode.refresh_rate;
}

void draw_screen() {
    gfx_begin_frame();  // opaque black, or left to the first layer that covers it all
    switch (app_state) {
    case SCREEN_TITLE: gfx_draw_title_screen(); break;
    case SCREEN_NAME_ENTRY: app_draw_name_entry(); break;
    default: gfx_draw_play_screen(); break;  // with the pause panel when paused
    }
    SDL_RenderPresent(app_session.renderer);
}

}  // namespace

int app_run_interactive() {
    if (app_start_sdl() != 0) return 1;
    // A closed terminal (SIGHUP) killed the game: it now asks to quit, as SIGTERM does.
    app_catch_hangup();
    // The title screen's pictures decode on worker threads while the window and the
    // renderer are made. Not before SDL starts: it may fork a helper there (D-Bus, the
    // sound server), and a fork while other threads allocate can hang the child.
    gfx_decode_ahead_startup();
    gfx_decode_ahead_background(0);
    text_decode_ahead(lang_get() != 0);

    SDL_DisplayMode mode;
    int have_desktop = 0;
    if (app_options.scale == 0) have_desktop = SDL_GetDesktopDisplayMode(0, &mode) == 0;
    float scale = app_window_scale(app_options.scale, have_desktop, have_desktop ? mode.h : 0);
    int width = 0;
    int height = 0;
    app_window_size(scale, &width, &height);

    app_session.fullscreen = app_options.fullscreen ? 1 : 0;
    Uint32 flags = SDL_WINDOW_RESIZABLE;
    if (app_session.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    app_session.window =
        SDL_CreateWindow(lang_title(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    // Without a window or a renderer there is nothing to play on.
    if (!app_session.window) return stop_with_sdl_error();
    app_session.renderer =
        SDL_CreateRenderer(app_session.window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!app_session.renderer) app_session.renderer = SDL_CreateRenderer(app_session.window, -1, 0);
    if (!app_session.renderer) return stop_with_sdl_error();

    x11_build_title_marquee();
    x11_update_window_title(app_session.window, 1);
    SDL_RenderSetLogicalSize(app_session.renderer, 1000, 736);
    gfx_init(app_session.renderer);
    snd_open();
    // A device that did not open left the game silent without a word.
    if (snd_device == 0 && SDL_WasInit(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "SDL: %s; playing without sound\n", SDL_GetError());
    }
    snd_set_music(MUSIC_TITLE);
    app_session.controller = app_open_first_controller();

    double frequency = (double)SDL_GetPerformanceFrequency();
    Uint64 last = SDL_GetPerformanceCounter();
    double accumulator = 0.0;
    app_state = SCREEN_TITLE;
    app_frame = 0;
    app_input = AppInput{};

    Uint64 frame_end = last;
    do {
        app_session.quit = 0;
        SDL_Event event;
        while (SDL_PollEvent(&event)) app_handle_event(&event);
        if (app_take_hangup()) app_quit_request();
        app_read_controller();

        Uint64 now = SDL_GetPerformanceCounter();
        int32_t ticks = app_count_ticks(&accumulator, (double)(Uint64)(now - last) / frequency);
        last = now;
        app_run_ticks(ticks);

        draw_screen();
        x11_update_window_title(app_session.window, 0);
        if (!(SDL_GetWindowFlags(app_session.window) & SDL_WINDOW_SHOWN)) SDL_Delay(hidden_delay_ms);
        // Where vertical sync does not hold (a driver that ignores it, a user's setting),
        // a frame would follow the last at once, thousands a second on a full core: it
        // waits out the rest of the display's refresh instead. Ticks follow the clock, so
        // the game plays the same.
        const Uint64 ended = SDL_GetPerformanceCounter();
        const Uint32 rest = app_frame_sleep_ms((double)(Uint64)(ended - frame_end) / frequency,
                                               refresh_rate(app_session.window));
        if (rest > 0) SDL_Delay(rest);
        frame_end = rest > 0 ? SDL_GetPerformanceCounter() : ended;
    } while (!app_session.quit);

    if (app_session.controller) SDL_GameControllerClose(app_session.controller);
    SDL_Quit();
    // Rows whose save gave up behind another copy that was stuck get one more try, once
    // the window has gone; a quit that committed a row has had its try.
    if (!app_session.quit_saved) app_save_unsaved_high_scores();
    return 0;
}
