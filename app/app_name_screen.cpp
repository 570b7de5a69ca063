// Kestrune: the name-entry screen for a new high score, which the shell paints itself:
// the game as it ended under a banner. The lines of text and the name with its cursor
// follow with the pre-rendered text and the bitmap font.
#include "app/app.h"
#include "gfx/gfx.h"

void app_draw_name_entry() {
    gfx_draw_world();
    gfx_draw_banner(220, 260);
}
