// Kestrune: the music dump. Twelve seconds of each of the five music pieces, rendered
// by the synthesiser without any audio device, written as raw 16-bit mono at 48000 Hz.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/app.h"
#include "sound/snd.h"

int16_t app_sound_test_buf[48000];

int app_run_music_dump(const char *path) {
    FILE *f = std::fopen(path, "wb");
    if (!f) {
        std::fprintf(stderr, "JULEN_LYDPROEVE: %s: %s\n", path, std::strerror(errno));
        return 1;
    }
    int ok = 1;
    int failure = 0;
    for (unsigned piece = MUSIC_TITLE; piece <= MUSIC_VICTORY; piece++) {
        snd_set_music(piece);
        for (int second = 0; second < 12; second++) {
            snd_render(app_sound_test_buf, 48000);
            if (ok && std::fwrite(app_sound_test_buf, sizeof(int16_t), 48000, f) != 48000) {
                ok = 0;
                failure = errno;
            }
        }
    }
    if (std::fclose(f) != 0 && ok) {
        ok = 0;
        failure = errno;
    }
    // A dump cut short by a full disk is not a finished dump.
    if (!ok) {
        std::fprintf(stderr, "JULEN_LYDPROEVE: %s: %s\n", path, std::strerror(failure));
        return 1;
    }
    return 0;
}
