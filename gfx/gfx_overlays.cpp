// Kestrune: the play screen. The game world with its head-up display, then the panels
// that stand over it: the pause panel while paused, the game-over panel for the whole
// game-over phase and the victory panel for the whole victory. More than one may stand
// at once; later ones cover earlier ones, so "game over" still reads while paused.
#include "app/app.h"
#include "game/game.h"
#include "gfx/gfx.h"
#include "text/text.h"

void gfx_draw_play_screen() {
    gfx_draw_world();
    if (app_paused) {
        gfx_draw_banner(300, 80);
        text_draw(STR_PAUSED, 500, 316, FONT_LARGE, ALIGN_CENTRE, 0xFFFFFFFF);
    }
    if (game_state.phase == PHASE_GAME_OVER) {
        gfx_draw_banner(300, 90);
        text_draw(STR_GAME_OVER, 500, 318, FONT_LARGE, ALIGN_CENTRE, 0xFFFFFFFF);
    }
    if (game_state.phase == PHASE_VICTORY) {
        gfx_draw_banner(556, 140);
        text_draw(STR_HAPPY_EASTER, 500, 570, FONT_LARGE, ALIGN_CENTRE, 0xFF78DEFF);
        text_draw(STR_ALL_EGGS_SAVED, 500, 632, FONT_SMALL, ALIGN_CENTRE, 0xFFFFFFFF);
    }
}
