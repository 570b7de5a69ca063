// Kestrune: the three screens of the interactive game. What each tick does on the title,
// playing and name-entry screens, how a game starts and ends, the command keys
// (fullscreen, confirm, pause, music, language, Escape) and the typing of a name.
#include <cstring>

#include "app/app_private.h"
#include "sound/snd.h"
#include "text/text.h"

namespace {

// A game over ends by itself after this many ticks of its phase, or on a confirm from
// the shorter count; a victory likewise.
const int32_t game_over_ticks = 201;
const int32_t game_over_confirm_ticks = 31;
const int32_t victory_ticks = 1201;
const int32_t victory_confirm_ticks = 121;

// The name being typed holds at most this many bytes of UTF-8.
const size_t name_limit = 11;

// The title screen's background period: a language change restarts it.
const int32_t title_period = 480;

void start_game() {
    snd_play_effect(SFX_MENU);
    game_start(app_options.start_level);
    app_state = SCREEN_PLAYING;
    app_paused = 0;
}

void back_to_title() {
    app_state = SCREEN_TITLE;
    app_frame = 0;
    if (app_music_on) snd_set_music(MUSIC_TITLE);
}

// The finished game takes the first row it beats, by name entry; otherwise the title.
void end_game() {
    app_new_record_slot = app_high_score_slot(app_high_scores, game_state.score);
    if (app_new_record_slot < 0) {
        back_to_title();
        return;
    }
    app_state = SCREEN_NAME_ENTRY;
    app_name_buf[0] = '\0';
    SDL_StartTextInput();
}

bool game_finished(int32_t confirm) {
    int32_t phase = game_state.phase;
    int32_t t = game_state.phase_timer;
    if (phase == PHASE_GAME_OVER && t >= game_over_ticks) return true;
    if (phase == PHASE_VICTORY && t >= victory_ticks) return true;
    if (!confirm) return false;
    return (phase == PHASE_GAME_OVER && t >= game_over_confirm_ticks) ||
           (phase == PHASE_VICTORY && t >= victory_confirm_ticks);
}

void toggle_fullscreen() {
    if (app_session.window) {
        SDL_SetWindowFullscreen(app_session.window, app_session.fullscreen ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    app_session.fullscreen = 1 - app_session.fullscreen;
}

void toggle_music() {
    app_music_on = 1 - app_music_on;
    // The piece plays on at volume 0: nothing is stopped or restarted.
    snd_set_volumes(app_music_on ? 80 : 0, 100);
}

void step_language(Uint16 mod) {
    int i = lang_get();
    int n = (mod & KMOD_SHIFT) ? i + LANG_COUNT - 1 : i + 1;
    lang_set((unsigned)(n % LANG_COUNT));
    // Through the shell's writer: the file is replaced whole or left as it was.
    if (app_settings_path[0]) app_write_settings(lang_code(lang_get()));
    snd_play_effect(SFX_MENU);
    app_frame = app_frame / title_period * title_period;
    x11_build_title_marquee();
    if (app_session.window) x11_update_window_title(app_session.window, 1);
}

void escape_key() {
    switch (app_state) {
    case SCREEN_PLAYING:
        // The game is dropped: no end test, no row.
        back_to_title();
        app_paused = 0;
        break;
    case SCREEN_NAME_ENTRY: app_commit_high_score(); break;
    case SCREEN_TITLE: app_session.quit = 1; break;
    default: break;
    }
}

// Removes the name's last character whole, with its continuation bytes.
void erase_last_character() {
    size_t n = std::strlen(app_name_buf);
    while (n > 0) {
        n--;
        unsigned char b = (unsigned char)app_name_buf[n];
        if (b < 0x80 || b >= 0xC0) {
            app_name_buf[n] = '\0';
            return;
        }
    }
}

}  // namespace

void app_screen_tick() {
    switch (app_state) {
    case SCREEN_TITLE: {
        game_update_confetti();
        int32_t fresh = app_input.tick & ~app_input.previous;
        if (app_input.tick_confirm || (fresh & INPUT_ACTION_A)) start_game();
        break;
    }
    case SCREEN_PLAYING: {
        if (app_paused) break;  // the game stands still; a confirm does nothing
        PlayerInput input;
        app_player_input(&input);
        game_tick(&input);
        if (game_finished(app_input.tick_confirm)) end_game();
        break;
    }
    case SCREEN_NAME_ENTRY:
        if (app_input.tick_confirm) app_commit_high_score();
        break;
    default: break;
    }
}

void app_quit_request() {
    app_session.quit = 1;
    // Closing the window on the name entry lost the row the player had earned: the
    // name typed so far is committed, as Enter would.
    if (app_state == SCREEN_NAME_ENTRY) {
        app_commit_high_score();
        app_session.quit_saved = 1;
        return;
    }
    // A quit in the game-over or victory phase lost the earned row: it takes the default name.
    const int32_t phase = game_state.phase;
    if (app_state != SCREEN_PLAYING || (phase != PHASE_GAME_OVER && phase != PHASE_VICTORY)) return;
    const int32_t row = app_high_score_slot(app_high_scores, game_state.score);
    if (row < 0) return;
    app_new_record_slot = row;
    app_name_buf[0] = '\0';
    app_commit_high_score();
    app_session.quit_saved = 1;
    app_paused = 0;  // the playing screen is left
}

void app_command_key(const SDL_KeyboardEvent *key) {
    SDL_Keycode sym = key->keysym.sym;
    Uint16 mod = key->keysym.mod;
    int32_t screen = app_state;
    if (sym == SDLK_RETURN || sym == SDLK_KP_ENTER) {
        if (mod & KMOD_ALT) {
            toggle_fullscreen();
        } else {
            app_input.confirm = 1;
        }
    } else if (sym == SDLK_F11) {
        toggle_fullscreen();
    } else if (sym == SDLK_BACKSPACE) {
        if (screen == SCREEN_NAME_ENTRY) erase_last_character();
    } else if (sym == SDLK_p) {
        if (screen == SCREEN_PLAYING) app_paused = 1 - app_paused;
    } else if (sym == SDLK_m) {
        if (screen == SCREEN_TITLE || screen == SCREEN_PLAYING) toggle_music();
    } else if (sym == SDLK_l) {
        if (screen == SCREEN_TITLE) step_language(mod);
    } else if (sym == SDLK_ESCAPE) {
        escape_key();
    }
}

void app_name_text(const char *text, size_t room) {
    if (app_state != SCREEN_NAME_ENTRY) return;
    size_t add = strnlen(text, room);
    if (add == room) return;  // no terminator: not a text SDL would send
    // A control character would break the record file's one line per row.
    for (size_t i = 0; i < add; i++) {
        unsigned char b = (unsigned char)text[i];
        if (b < 0x20 || b == 0x7F) return;
    }
    size_t have = std::strlen(app_name_buf);
    // The whole text or nothing of it, so a character is never cut.
    if (have + add > name_limit) return;
    std::memcpy(app_name_buf + have, text, add + 1);
}
