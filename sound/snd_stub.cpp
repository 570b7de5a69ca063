// Kestrune: silent stand-ins for the sound requests until the synthesiser lands.
#include "sound/snd.h"

#include <cstring>

void snd_play_effect(unsigned) {}
void snd_set_music(unsigned) {}
void snd_open() {}
void snd_render(int16_t *out, int n) {
    if (n > 0) std::memset(out, 0, sizeof(int16_t) * (size_t)n);
}
void snd_set_volumes(int, int) {}
