// Kestrune: what the interactive mode's own files share and nobody else sees.
#pragma once
#include <SDL.h>

#include "app/app.h"

// Input mapping (app_input.cpp): the bits of one key event, the mask step of a tick
// (first: the frame's first tick) and the end of a frame that ran ticks_run ticks.
void app_input_key(const SDL_KeyboardEvent *key);
void app_input_begin_tick(int first);
void app_input_end_frame(int32_t ticks_run);

// Screens (app_screens.cpp): the work of one tick on the current screen, the command
// keys of a key-down that is not a repeat, and text typed on the name-entry screen.
void app_screen_tick();
void app_command_key(const SDL_KeyboardEvent *key);
void app_name_text(const char *text, size_t room);
// A quit request (window closed, SIGTERM, SIGINT, SIGHUP): the loop ends after this
// frame. A row being named, or earned by a game in its game-over or victory phase, is
// committed first.
void app_quit_request();

// Opens the first device that is a game controller (app_loop.cpp); NULL when none.
SDL_GameController *app_open_first_controller();

// Start-up (app_startup.cpp): starts SDL's video, controllers and audio. Returns 0, or 1
// after one line on standard error when the game cannot be shown. Audio that does not
// start is reported in one line and leaves the game silent.
int app_start_sdl();
// 1 when the video driver in use shows nothing ("offscreen" or "dummy") and the
// SDL_VIDEODRIVER list (asked, may be NULL) did not name it.
int app_video_driver_shows_nothing(const char *driver, const char *asked);
