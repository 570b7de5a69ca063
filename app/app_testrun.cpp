// Kestrune: the headless test run. One game, N ticks back to back on a software
// renderer, input from a script or the bot; it leaves BMP pictures of chosen ticks,
// the raw audio "lyd.raw" and one status line.
#include <SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/app.h"
#include "gfx/gfx.h"
#include "sound/snd.h"
#include "text/text.h"

int16_t app_test_audio[APP_TEST_AUDIO_SAMPLES];
int32_t app_shot_every = -1;
int32_t app_bot_toggle = 0;

namespace {

// Kept for the whole process: the run ends without taking them down.
SDL_Surface *test_surface = nullptr;
SDL_Renderer *test_renderer = nullptr;

enum { NAME_ROOM = 4096 };

int32_t env_int(const char *name) {
    const char *v = std::getenv(name);
    if (!v) return 0;
    return (int32_t)(uint32_t)(unsigned long)std::strtol(v, nullptr, 10);
}

// A full disk left cut files behind a run that reported success: every output is
// checked, and after the first failure nothing more is written (the game plays on to
// its status line, which the painting never changes).
void write_picture(int32_t tick) {
    if (app_output_failed()) return;
    char name[NAME_ROOM];
    int n = std::snprintf(name, sizeof name, "%s/f%05d.bmp", app_options.out_dir, (int)tick);
    if (n < 0 || (size_t)n >= sizeof name) {  // a cut name would be some other file
        app_output_fail(name, ENAMETOOLONG);
        return;
    }
    if (test_renderer) {
        SDL_SetRenderDrawColor(test_renderer, 0, 0, 0, 255);
        SDL_RenderClear(test_renderer);
        gfx_draw_play_screen();
        SDL_RenderPresent(test_renderer);
    }
    app_output_bmp(name, test_surface);
}

void write_audio(int32_t samples) {
    if (app_output_failed()) return;
    char name[NAME_ROOM];
    int n = std::snprintf(name, sizeof name, "%s/lyd.raw", app_options.out_dir);
    if (n < 0 || (size_t)n >= sizeof name) {
        app_output_fail(name, ENAMETOOLONG);
        return;
    }
    app_output_file(name, app_test_audio, (size_t)(samples > 0 ? samples : 0) * sizeof(int16_t));
}

// The script, opened for reading when it is a regular file; NULL for anything else.
// A FIFO as the script blocked the run for ever, and /dev/zero was read for ever.
FILE *open_script(const char *path) {
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return nullptr;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    FILE *f = fdopen(fd, "r");
    if (!f) close(fd);
    return f;
}

}  // namespace

int32_t app_count_eggs_in_air() {
    int32_t n = 0;
    for (int i = 0; i < GAME_MAX_EGGS; i++) n += game_eggs[i].active;
    return n;
}

void app_bot_fill_input(PlayerInput *input) {
    std::memset(input, 0, sizeof *input);
    input->action = game_state.phase_timer % 20 == 0 ? 1 : 0;
    // The egg furthest along its chute that is worth catching.
    int target = -1;
    float best = -9.0f;
    for (int i = 0; i < GAME_MAX_EGGS; i++) {
        const Egg &e = game_eggs[i];
        if (!e.active || e.falling || e.kind == EGG_ROTTEN) continue;
        if (e.t > best) {
            best = e.t;
            target = i;
        }
    }
    if (target < 0) return;
    const Egg &e = game_eggs[target];
    if (e.side != 0) {
        input->right = 1;
    } else {
        input->left = 1;
    }
    // The game moves the basket on a press, so up and down come every second call.
    int32_t was = app_bot_toggle;
    app_bot_toggle = was == 0 ? 1 : 0;
    if (was != 0) return;
    if (e.floor > game_basket_floor) {
        input->up = 1;
    } else if (e.floor < game_basket_floor) {
        input->down = 1;
    }
}

int app_run_test() {
    // The pictures of the first frame decode on worker threads while the run sets up.
    gfx_decode_ahead_startup();
    gfx_decode_ahead_background(app_options.start_level);
    text_decode_ahead(0);
    SDL_Init(0);
    srand(1);
    if (app_options.script_path) {
        FILE *f = open_script(app_options.script_path);
        if (f) {
            app_read_script_from(f);
            std::fclose(f);
        }
    }
    test_surface = SDL_CreateRGBSurfaceWithFormat(0, 1000, 736, 32, SDL_PIXELFORMAT_ARGB8888);
    if (test_surface) test_renderer = SDL_CreateSoftwareRenderer(test_surface);
    gfx_init(test_renderer);
    game_start(app_options.start_level);

    const int32_t ticks = app_options.test_ticks;
    int32_t mask = 0;
    int32_t previous = 0;
    int32_t position = 0;
    for (int32_t tick = 0; tick < ticks; tick++) {
        if (tick < APP_SCRIPT_TICKS && app_script_set[tick]) mask = app_script_mask[tick];
        PlayerInput input;
        app_test_input(mask, previous, &input);
        previous = mask;
        if (app_bot_enabled == 1) app_bot_fill_input(&input);
        game_tick(&input);
        if (position <= APP_TEST_AUDIO_SAMPLES - 800) {
            snd_render(app_test_audio + position, 800);
            position += 800;
        }
        if (app_shot_every < 0) app_shot_every = env_int("FESTER_HVER");
        int shot = 0;
        if (tick < APP_SCRIPT_TICKS && app_script_shot[tick]) {
            shot = 1;
        } else if (tick == ticks - 1) {
            shot = 1;
        } else if (app_shot_every != 0 && tick % app_shot_every == 0 &&
                   (game_state.phase == PHASE_LEVEL_COMPLETE || game_state.phase == PHASE_VICTORY)) {
            shot = 1;
        }
        if (shot) write_picture(tick);
    }

    write_audio(position);
    std::printf("tilstand %d, bane %d (%d etager), point %d, liv %d, æg i luften %d, grebet %d/%d\n",
                (int)game_state.phase, (int)(game_state.level + 1), (int)game_state.floors,
                (int)game_state.score, (int)game_state.lives, (int)app_count_eggs_in_air(),
                (int)game_state.caught, (int)game_state.target);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) app_output_fail("standard output", errno);
    if (app_output_failed()) {
        app_report_output_failure("--test");
        return 1;
    }
    return 0;
}
