// Kestrune: the screen painters draw nothing yet; the frame stays black.
#include "gfx/gfx.h"

void gfx_draw_world() {}
void gfx_draw_confetti() {}
void gfx_draw_play_screen() {}
void gfx_draw_title_screen() {}
