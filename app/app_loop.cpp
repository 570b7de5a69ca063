// Kestrune: the pieces of the main loop that need no window: the window size, the fixed
// tick clock, the events of a frame and the frame's ticks.
#include "app/app_private.h"

AppSession app_session;

namespace {

// The double nearest to 1/60 s, taken from the accumulator once per tick.
const double tick_seconds = 0.016666666666666666;
// At most this much time is turned into ticks in one frame (15 ticks): after a stall
// the game runs slower instead of jumping.
const double accumulator_cap = 0.25;

// Window sizes stay within what any platform takes, and within int, whatever the
// "--skala" value.
const float largest_side = 16384.0f;

int scaled_side(float base, float scale) {
    float v = base * scale;
    if (!(v >= 1.0f)) return 1;  // also NaN
    if (v > largest_side) return (int)largest_side;
    return (int)v;
}

// The first device that is a game controller, or NULL.
SDL_GameController *open_first_controller() {
    for (int i = 0; i < SDL_NumJoysticks(); i++) {
        if (SDL_IsGameController(i)) return SDL_GameControllerOpen(i);
    }
    return nullptr;
}

bool is_open_controller(SDL_JoystickID id) {
    SDL_GameController *pad = app_session.controller;
    if (!pad) return false;
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == id;
}

}  // namespace

float app_window_scale(int32_t scale_option, int have_desktop, int32_t desktop_height) {
    if (scale_option != 0) return (float)scale_option;
    if (!have_desktop) return 1.0f;
    if (desktop_height > 1591) return 2.0f;
    if (desktop_height >= 1151) return 1.4f;
    return 1.0f;
}

void app_window_size(float scale, int *width, int *height) {
    *width = scaled_side(1000.0f, scale);
    *height = scaled_side(736.0f, scale);
}

int32_t app_count_ticks(double *accumulator, double elapsed_seconds) {
    double a = *accumulator + elapsed_seconds;
    if (!(a >= 0.0)) a = 0.0;  // a clock that ran backwards, or NaN
    if (a > accumulator_cap) a = accumulator_cap;
    int32_t n = 0;
    while (a >= tick_seconds) {
        a -= tick_seconds;
        n++;
    }
    *accumulator = a;
    return n;
}

uint32_t app_frame_sleep_ms(double since_previous_frame, int refresh_hz) {
    const double refresh = 1.0 / (refresh_hz > 0 ? refresh_hz : 60);
    if (!(since_previous_frame >= 0.0)) since_previous_frame = 0.0;  // a clock that ran backwards, or NaN
    if (since_previous_frame >= refresh) return 0;
    return (uint32_t)((refresh - since_previous_frame) * 1000.0);
}

void app_handle_event(const SDL_Event *event) {
    switch (event->type) {
    case SDL_QUIT: app_quit_request(); break;
    case SDL_CONTROLLERDEVICEADDED:
        // A failed open leaves NULL, so a later event may try again.
        if (!app_session.controller) app_session.controller = SDL_GameControllerOpen(event->cdevice.which);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        // The controller that was read is gone: let the next one take over, so that a
        // replugged or second controller works.
        if (is_open_controller(event->cdevice.which)) {
            SDL_GameControllerClose(app_session.controller);
            app_session.controller = open_first_controller();
            app_pad_start_prev = 0;
        }
        break;
    case SDL_TEXTINPUT: app_name_text(event->text.text, sizeof event->text.text); break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        app_input_key(&event->key);
        if (event->type == SDL_KEYDOWN && event->key.repeat == 0) app_command_key(&event->key);
        break;
    default: break;
    }
}

void app_run_ticks(int32_t n) {
    for (int32_t i = 0; i < n; i++) {
        // Wraps instead of overflowing after a year and more of one screen.
        app_frame = (int32_t)((uint32_t)app_frame + 1u);
        app_input_begin_tick(i == 0);
        app_screen_tick();
    }
    app_input_end_frame(n);
}

SDL_GameController *app_open_first_controller() { return open_first_controller(); }
