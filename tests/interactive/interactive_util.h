// Kestrune tests: driving the interactive mode in-process with synthesised SDL events,
// no window and no device.
#pragma once
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>

#include "app/app.h"
#include "text/text.h"

namespace itest {

inline void send(const SDL_Event &e) { app_handle_event(&e); }

inline SDL_Event key_event(Uint32 type, SDL_Keycode sym, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    return e;
}

inline void down(SDL_Keycode sym, Uint16 mod = KMOD_NONE) { send(key_event(SDL_KEYDOWN, sym, mod)); }
inline void repeat(SDL_Keycode sym) { send(key_event(SDL_KEYDOWN, sym, KMOD_NONE, 1)); }
inline void up(SDL_Keycode sym) { send(key_event(SDL_KEYUP, sym)); }
inline void tap(SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
    down(sym, mod);
    up(sym);
}

// A text event; a text of 32 bytes or more fills the event with no terminator.
inline void text(const char *s) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_TEXTINPUT;
    e.text.type = SDL_TEXTINPUT;
    std::memcpy(e.text.text, s, strnlen(s, sizeof e.text.text));
    send(e);
}

// One frame's input step and its ticks, as the main loop does them after the events.
inline void frame(int ticks = 1) {
    app_read_controller();
    app_run_ticks(ticks);
}

// Every interactive global back to its start, on the title screen.
class Interactive : public ::testing::Test {
protected:
    void SetUp() override {
        app_session = AppSession{};
        app_input = AppInput{};
        app_pad_start_prev = 0;
        app_state = SCREEN_TITLE;
        app_frame = 0;
        app_paused = 0;
        app_music_on = 1;
        app_name_buf[0] = '\0';
        app_new_record_slot = -1;
        app_records_path[0] = '\0';
        app_settings_path[0] = '\0';
        app_options.start_level = 0;
        app_fill_default_high_scores();
        lang_set(5);
        SDL_StopTextInput();
    }

    // From the title into a game, by a tap of Space after a tick without it.
    void start_game() {
        frame();
        tap(SDLK_SPACE);
        frame();
        ASSERT_EQ(app_state, SCREEN_PLAYING);
    }
};

}  // namespace itest
