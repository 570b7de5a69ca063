// Kestrune sound tests: a listening aid. Renders each music piece (and, with
// "effects", every effect one after another) as raw signed 16-bit mono 48000 Hz
// files, to be played or inspected with sox:
//   snd_render_pieces DIR [SECONDS]
//   sox -t raw -r 48000 -e signed -b 16 -c 1 DIR/piece0.raw -n stat
#include <cstdio>
#include <cstdlib>

#include "sound/snd.h"

namespace {
int16_t buffer[48000];

bool write_seconds(FILE *f, int seconds) {
    for (int s = 0; s < seconds; s++) {
        snd_render(buffer, 48000);
        if (fwrite(buffer, sizeof buffer[0], 48000, f) != 48000) return false;
    }
    return true;
}
}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s DIR [SECONDS]\n", argv[0]);
        return 2;
    }
    const int seconds = argc > 2 ? atoi(argv[2]) : 40;
    char path[1024];
    for (unsigned piece = 0; piece < 5; piece++) {
        snprintf(path, sizeof path, "%s/piece%u.raw", argv[1], piece);
        FILE *f = fopen(path, "wb");
        if (f == NULL) {
            perror(path);
            return 1;
        }
        snd_set_music(piece);
        const bool ok = write_seconds(f, seconds);
        fclose(f);
        if (!ok) return 1;
    }
    snd_set_music(MUSIC_STOP);
    snprintf(path, sizeof path, "%s/effects.raw", argv[1]);
    FILE *f = fopen(path, "wb");
    if (f == NULL) {
        perror(path);
        return 1;
    }
    for (unsigned id = 0; id < 14; id++) {
        snd_play_effect(id);
        snd_render(buffer, 48000);
        fwrite(buffer, sizeof buffer[0], 48000, f);
    }
    fclose(f);
    return 0;
}
