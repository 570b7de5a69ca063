// Kestrune: the sixty confetti strokes that drift down the whole canvas, swaying and
// spinning; a stroke that leaves the bottom starts again at the top.
#include "game/game_private.h"

#include <cmath>
#include <cstdlib>

namespace {

// A fresh rand() as a float32 in 0..1 (1 included: RAND_MAX rounds up to 2^31).
float unit_random() {
    const float value = (float)rand();
    return value * 0x1p-31f;
}

// Gives a stroke a new start. A stroke not yet placed (y <= 0) is scattered over the
// whole canvas; one that fell out at the bottom starts again at the top. The rand calls
// come in the order of the fields.
void restart(ConfettiParticle &p) {
    float r = unit_random();
    p.x = r * 1000.0f;
    if (p.y <= 0.0f) {
        r = unit_random();
        p.y = 1.0f + r * 735.0f;
    } else {
        p.y = 1.0f;
    }
    r = unit_random();
    p.vx = r * 0.8f - 0.4f;
    r = unit_random();
    p.vy = r * 0.70000005f + 0.4f;  // the float32 result of 1.1 - 0.4
    r = unit_random();
    p.angle = r * 360.0f;
    r = unit_random();
    p.spin = r * 4.0f - 2.0f;
    p.colour = rand() % 4;
}

}  // namespace

void game_update_confetti() {
    for (ConfettiParticle &p : game_confetti) {
        if (p.y <= 0.0f || p.y > 756.0f) restart(p);
        const float s = sinf(p.y * 0.02f);
        p.x = p.x + (s * 0.6f + p.vx);
        p.y = p.y + p.vy;
        p.angle = p.spin + p.angle;
    }
}
