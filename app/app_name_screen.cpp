// Kestrune: the name-entry screen for a new high score, which the shell paints itself:
// the game as it ended, a banner, three lines of text and the name with its cursor.
#include <cstdio>

#include "app/app.h"
#include "gfx/gfx.h"
#include "text/text.h"

namespace {

const PackedColour golden = 0xFF78DEFF;
const PackedColour white = 0xFFFFFFFF;
const PackedColour cream = 0xFFC8ECFF;

// The cursor is shown 20 ticks, then blank 20 ticks.
const int32_t cursor_ticks = 20;

}  // namespace

void app_draw_name_entry() {
    gfx_draw_world();
    gfx_draw_banner(220, 260);
    int heading = game_state.phase == PHASE_VICTORY ? STR_ALL_LEVELS_DONE : STR_NEW_HIGH_SCORE;
    text_draw(heading, 500, 236, FONT_LARGE, ALIGN_CENTRE, golden);
    text_draw(STR_POINTS, 500, 292, FONT_LARGE, ALIGN_CENTRE, white, lang_int_arg(game_state.score));
    text_draw(STR_TYPE_NAME, 500, 356, FONT_SMALL, ALIGN_CENTRE, cream);
    // The name is centred together with its cursor.
    char text[24];
    std::snprintf(text, sizeof text, "%s%s", app_name_buf, (app_frame / cursor_ticks) & 1 ? "_" : " ");
    gfx_font_draw_at(text, 500, 398, FONT_LARGE, ALIGN_CENTRE, white);
}
