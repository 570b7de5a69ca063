// Kestrune tests: the name-entry screen on a software renderer: the heading follows how
// the game ended, and the name is drawn with a cursor that blinks every 20 ticks.
#include <vector>

#include "gfx/gfx.h"
#include "interactive_util.h"

using namespace itest;

namespace {

class NameScreen : public Interactive {
protected:
    static void SetUpTestSuite() {
        SDL_Init(0);
        surface = SDL_CreateRGBSurfaceWithFormat(0, 1000, 736, 32, SDL_PIXELFORMAT_ARGB8888);
        gfx_init(SDL_CreateSoftwareRenderer(surface));
    }
    void SetUp() override {
        Interactive::SetUp();
        game_start(0);
        game_state.phase = PHASE_GAME_OVER;
        game_state.score = 2500;
        app_state = SCREEN_NAME_ENTRY;
    }
    // The rows y0..y1 of the picture of the screen.
    std::vector<Uint32> rows(int y0, int y1) {
        SDL_SetRenderDrawColor(gfx_renderer, 0, 0, 0, 255);
        SDL_RenderClear(gfx_renderer);
        app_draw_name_entry();
        SDL_RenderFlush(gfx_renderer);
        std::vector<Uint32> out;
        for (int y = y0; y < y1; y++) {
            const Uint32 *row = (const Uint32 *)((const Uint8 *)surface->pixels + y * surface->pitch);
            out.insert(out.end(), row, row + 1000);
        }
        return out;
    }
    static SDL_Surface *surface;
};

SDL_Surface *NameScreen::surface = nullptr;

}  // namespace

TEST_F(NameScreen, CursorBlinksAfterTheName) {
    app_frame = 0;
    std::vector<Uint32> blank = rows(390, 460);
    app_frame = 20;
    std::vector<Uint32> shown = rows(390, 460);
    EXPECT_NE(blank, shown);
    app_frame = 39;
    EXPECT_EQ(rows(390, 460), shown);
    app_frame = 40;
    EXPECT_EQ(rows(390, 460), blank);
    std::snprintf(app_name_buf, sizeof app_name_buf, "Zed");
    EXPECT_NE(rows(390, 460), blank);
}

TEST_F(NameScreen, HeadingFollowsTheEndOfTheGame) {
    std::vector<Uint32> lost = rows(225, 285);
    game_state.phase = PHASE_VICTORY;
    EXPECT_NE(rows(225, 285), lost);
}
