// Kestrune: the application shell's contract: the globals the painters read, and the
// shell's entry points that tests and other subsystems use.
#pragma once
#include <cstdint>
#include <cstdio>

#include "game/game.h"

// SDL's types as SDL itself declares them, so that the file readers build without SDL.
struct SDL_Window;
struct SDL_Renderer;
union SDL_Event;
typedef struct _SDL_GameController SDL_GameController;

// One row of the high-score table.
struct HighScoreEntry {
    char name[16];  // at most 15 bytes of UTF-8, NUL-terminated
    int32_t score;
    int32_t level;  // counted from 1
};

enum AppScreen { SCREEN_TITLE = 0, SCREEN_PLAYING = 1, SCREEN_NAME_ENTRY = 2 };

extern int32_t app_frame;
extern int32_t app_paused;
extern int32_t app_state;
extern HighScoreEntry app_high_scores[10];

// Screens: music wanted (M), the name being typed (at most 11 bytes), the row the
// finished game takes (-1 none).
extern int32_t app_music_on;
extern char app_name_buf[16];
extern int32_t app_new_record_slot;

// ---- Command line -------------------------------------------------------------------

// What the command line leaves for the run; text values point into argv.
struct AppOptions {
    int32_t start_level;        // level index 0..14
    int32_t fullscreen;         // 0 or 1
    int32_t scale;              // 0: automatic
    int32_t test_ticks;         // 0: no test run
    const char *script_path;    // NULL: none
    const char *out_dir;        // "." unless given
    const char *title_path;     // NULL: no title pictures
    const char *lang_code;      // NULL: none
};
extern AppOptions app_options;
extern uint8_t app_bot_enabled;

// Scans argv into app_options and app_bot_enabled. Returns 1 when the run goes on,
// 0 when an argument was not recognised (the caller prints the usage text).
int app_scan_command_line(int argc, char **argv);
// Prints the usage text with the program name.
void app_print_usage(const char *argv0);

// ---- Data directory and files ----------------------------------------------------------

// Empty when "HOME" is not set (or the path would not fit): that file is never touched.
enum { APP_PATH_ROOM = 4096 };
extern char app_records_path[APP_PATH_ROOM];
extern char app_settings_path[APP_PATH_ROOM];
extern char app_settings_lang[16];

// Creates the data directory under "HOME" with its parents and sets both file paths.
void app_setup_data_dir();

// Reads a decimal int at *cursor as "%d" does (white space, a sign, digits) and moves the
// cursor past it; a number beyond the int32 range gives INT32_MAX or INT32_MIN. Returns 1,
// or 0 with nothing moved when no number stands there.
int app_scan_int(const char **cursor, int32_t *value);

// Names as UTF-8: the length of text (length bytes) cut to at most limit bytes without
// ending inside a character; and text without the blank characters around it (every
// Unicode white-space character counts), its length updated.
size_t app_utf8_cut(const char *text, size_t length, size_t limit);
const char *app_trim_blanks(const char *text, size_t *length);

void app_fill_default_high_scores();
// Reads the record file over the table. A missing file leaves it as it is; a file that is
// there but cannot be read leaves it too, and is then never replaced in this run.
void app_read_high_scores();
void app_read_high_scores_from(FILE *f);
// The row a score takes in a table, best first: the first row it beats; -1 for none.
int app_high_score_slot(const HighScoreEntry table[10], int32_t score);
// Puts a row into a table at its slot, moving the rows below down; returns the slot or -1.
int app_insert_high_score(HighScoreEntry table[10], const HighScoreEntry *row);
// The ten rows as the file holds them, one "%d %d %s" line each; returns the byte
// count (0 when the room is too small). Ten rows never need more than the room below.
enum { APP_RECORDS_TEXT_ROOM = 10 * 48 };
size_t app_format_high_scores(char *text, size_t room);
// Writes all ten rows under the save lock; returns 1 when the file was replaced, 0 when
// it was left alone (app_save_error says why).
int app_write_high_scores();
// A finished game's row: into the record file as it stands now, while the other running
// copies of the game wait, so that their rows stay, and with them any row whose save
// failed before; the table becomes what was saved. The file is written only under the
// save lock. A save that fails or is refused (the lock held past the wait, or not the
// player's) is reported in one line on standard error; the row then stays in the table
// in memory and goes into the next save. Returns 1 when saved.
int app_save_high_score(const HighScoreEntry *row);
// The one more try that rows not yet saved get when the game quits: the same save without
// a new row, reported the same way when it fails. Returns 1 when nothing is left unsaved.
int app_save_unsaved_high_scores();

// Reads the settings file; returns the language code found or NULL.
const char *app_read_settings();
const char *app_read_settings_from(FILE *f);
// Replaces the settings file with the one line for this code; returns 1 on success.
int app_write_settings(const char *code);

// ---- The data files on disk -------------------------------------------------------------

// Why a save failed or was refused: an errno value, or one of these.
enum {
    APP_SAVE_PROTECTED_LINK = -1,  // a link that the protected-symlinks rule refuses
    APP_SAVE_NOT_REGULAR = -2,     // a folder, FIFO or device in the file's place
    APP_SAVE_REPLACED = -3,        // another save replaced or made the file after it was read
    APP_SAVE_LOCK_HELD = -4,       // another copy of the game held the save lock past the wait
    APP_SAVE_LOCK_NOT_PRIVATE = -5,  // something other than a private lock file in its place
};
extern int app_save_error;  // the reason of the last app_replace_file that failed
const char *app_save_error_text(int error);
// Writes all of it, going on after short writes and interrupted calls; 0 or the errno.
int app_write_all(int fd, const void *bytes, size_t size);

// Where a data file's path leads: an open descriptor of its folder and its name there
// (links followed as the kernel does, at most 40, never one that the protected-symlinks
// rule refuses; the last name's link only when follow_last is set). fd is the file
// itself once opened, -1 before. Returns 0 or the reason.
struct AppDataFile {
    int dir_fd;
    int fd;
    int checked;  // opened for a save: the name must still lead to fd (to no file if -1)
    char name[256];
};
int app_resolve_data_file(const char *path, int follow_last, AppDataFile *file);
void app_close_data_file(AppDataFile *file);
// Reads at most room bytes of a regular file; ENOENT or ENOTDIR when there is none,
// APP_SAVE_NOT_REGULAR for anything else in its place.
int app_read_data_file(const char *path, char *bytes, size_t room, size_t *size);
// The lock that copies of the game take turns under while they save the file at path:
// "<name>.lock" beside the path's own name, a regular file of the player's own with mode
// 0600 and one link (made so when missing) that is never written or removed. Waits ten
// seconds at most. Returns 0 with *lock the descriptor that holds it (-1 where the file
// system has no locks, and the save goes on without); otherwise the reason no save may
// write: APP_SAVE_LOCK_HELD, APP_SAVE_LOCK_NOT_PRIVATE (what stands there is left as it
// is) or the errno of a lock file that cannot be made. app_release_save_lock lets it go.
int app_take_save_lock(const char *path, int *lock);
void app_release_save_lock(int lock);
// Opens the file at path for a save that reads it first: fd is -1 when there is none yet.
int app_open_data_file(const char *path, AppDataFile *file);
int app_read_open_data_file(AppDataFile *file, char *bytes, size_t room, size_t *size);
// Replaces the file with these bytes through a temporary file in the same folder, so the
// old file stays whole on any failure. Returns 0 or the reason: APP_SAVE_REPLACED when
// the file was opened for the save and its name now leads to another file (or to one,
// where there was none).
int app_replace_data_file(AppDataFile *file, const char *bytes, size_t size);

// The same for a path; returns 1 on success, else 0 with app_save_error set.
int app_replace_file(const char *path, const char *bytes, size_t size);

// Removes what saves that never finished left beside the two files: temporary files older
// than a minute that no running save holds. Called once at start-up.
void app_remove_stale_temp_files();

// Leaves the name-entry screen. When app_new_record_slot names a row, the finished game's
// row goes into the table and the record file (app_save_high_score).
void app_commit_high_score();

// ---- Headless test run ---------------------------------------------------------------

enum { APP_SCRIPT_TICKS = 200000, APP_TEST_AUDIO_SAMPLES = 5760000 };
extern int32_t app_script_mask[APP_SCRIPT_TICKS];
extern uint8_t app_script_set[APP_SCRIPT_TICKS];
extern uint8_t app_script_shot[APP_SCRIPT_TICKS];
extern int16_t app_test_audio[APP_TEST_AUDIO_SAMPLES];
extern int32_t app_shot_every;
extern int32_t app_bot_toggle;

// Script: clears the tables, reads a file into them, or takes one line.
void app_clear_script();
void app_read_script_from(FILE *f);
void app_read_script_line(const char *line);

// The test run's input rule: directions from the mask, action on any new bit.
void app_test_input(int32_t mask, int32_t previous, PlayerInput *input);
void app_bot_fill_input(PlayerInput *input);
int32_t app_count_eggs_in_air();

// The music dump's one second of samples.
extern int16_t app_sound_test_buf[48000];

// ---- Output files of the headless modes ------------------------------------------------

struct SDL_Surface;
// Write a whole file, or a surface as a BMP file, checking every write and the close.
// Return 1 on success; on failure 0, and the first failure's path and reason are kept.
int app_output_file(const char *path, const void *bytes, size_t size);
int app_output_bmp(const char *path, SDL_Surface *surface);
// Keeps a failure with this path and errno value as the first one (unless there is one);
// returns 0.
int app_output_fail(const char *path, int error);
int app_output_failed();
// Prints the first failure as one line "<mode>: <path>: <reason>" on standard error.
void app_report_output_failure(const char *mode);

// ---- Run modes (each returns main's exit status) ---------------------------------------

int app_run_test();
int app_run_music_dump(const char *path);
int app_run_title_pictures(const char *path);
int app_run_interactive();

// ---- Interactive mode: window, main loop, input and screens ---------------------------

// What the interactive run holds while it lasts.
struct AppSession {
    SDL_Window *window;
    SDL_Renderer *renderer;
    SDL_GameController *controller;  // the one controller read; NULL none
    int32_t fullscreen;              // 0 or 1, flipped by F11 and Alt+Enter
    int32_t quit;                    // the loop ends after the frame that set it
    int32_t quit_saved;              // the quit committed a row: that was its try at saving
};
extern AppSession app_session;

// Window scale: a "--skala" value other than 0 as it is, else by the desktop height
// (1.0 when there is no desktop mode). The window size for a scale, at least 1 x 1.
float app_window_scale(int32_t scale_option, int have_desktop, int32_t desktop_height);
void app_window_size(float scale, int *width, int *height);

// Adds the elapsed seconds to the accumulator (capped at 0.25 s) and takes out every
// whole tick of 1/60 s; returns how many ticks the frame runs (0..15).
int32_t app_count_ticks(double *accumulator, double elapsed_seconds);
// How long a frame that ended this many seconds after the previous one sleeps before the
// next: the rest of one display refresh (refresh_hz, 60 when 0 or less, i.e. unknown) in
// whole milliseconds rounded down; 0 when the frame took a refresh or longer. Where vertical
// sync holds, presenting already waits and this comes to 0.
uint32_t app_frame_sleep_ms(double since_previous_frame, int refresh_hz);

// Input masks of InputBit values (see app_input.cpp for how they move).
struct AppInput {
    int32_t held;          // mapped keys down now
    int32_t pressed;       // mapped keys pressed since the last frame that ran a tick
    int32_t pad;           // the controller at this frame's reading
    int32_t frame;         // pad | held
    int32_t tick;          // this tick's mask
    int32_t previous;      // the mask of the tick before
    int32_t confirm;       // Enter or START pressed, not yet seen by a tick
    int32_t tick_confirm;  // this tick sees the confirm
};
extern AppInput app_input;
extern int32_t app_pad_start_prev;

// The InputBit of a key code (0 for a key that sets none).
int32_t app_key_bit(int32_t sym);
// One event of the frame, against the screen current now.
void app_handle_event(const SDL_Event *event);
// Reads the controller (if one is open) and builds the frame mask.
void app_read_controller();
// Runs the frame's n ticks on the current screens, then ends the frame's input.
void app_run_ticks(int32_t n);
// This tick's PlayerInput: directions as levels, action as a press or a confirm.
void app_player_input(PlayerInput *input);
// Paints the name-entry screen on the current renderer.
void app_draw_name_entry();

// ---- Signals ---------------------------------------------------------------------------

// Ignores SIGXFSZ and SIGPIPE, so that a write past the file-size limit or into a closed
// pipe fails (EFBIG, EPIPE) and is reported by its writer. The first thing main does.
void app_ignore_write_signals();
// Makes SIGHUP (the terminal closed) a quit request of the interactive game: the handler
// only notes it, for the main loop. Left alone when SIGHUP is ignored (nohup).
void app_catch_hangup();
// 1 when a SIGHUP came since the last call, else 0.
int app_take_hangup();
