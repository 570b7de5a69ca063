// Kestrune: where every sprite lies in the sprite atlas. The painters name sprites by
// their index in this table; every sprite is a square cell.
#include "gfx/gfx.h"

const SpriteRect gfx_sprite_rects[GFX_SPRITE_COUNT] = {
    // 0..17: the hero, 384 x 384 cells in rows of five.
    {0, 0, 384, 384},       // 0  side view, basket at the lowest of six heights
    {384, 0, 384, 384},     // 1  side view, basket height 2
    {768, 0, 384, 384},     // 2  side view, basket height 3
    {1152, 0, 384, 384},    // 3  side view, basket height 4
    {1536, 0, 384, 384},    // 4  side view, basket height 5
    {0, 384, 384, 384},     // 5  side view, basket at the highest height
    {384, 384, 384, 384},   // 6  as 0, blinking
    {768, 384, 384, 384},   // 7  as 1, blinking
    {1152, 384, 384, 384},  // 8  as 2, blinking
    {1536, 384, 384, 384},  // 9  as 3, blinking
    {0, 768, 384, 384},     // 10 as 4, blinking
    {384, 768, 384, 384},   // 11 as 5, blinking
    {768, 768, 384, 384},   // 12 facing the viewer (turning)
    {1152, 768, 384, 384},  // 13 cheering, first frame
    {1536, 768, 384, 384},  // 14 cheering, second frame
    {0, 1152, 384, 384},    // 15 hurt
    {384, 1152, 384, 384},  // 16 game over, first frame
    {768, 1152, 384, 384},  // 17 game over, second frame
    // 18..24: 128 x 128 cells along y 1152 from x 1152.
    {1152, 1152, 128, 128},  // 18 life icon (the hero's head)
    {1280, 1152, 128, 128},  // 19 cloud puff, step 1 of 6
    {1408, 1152, 128, 128},  // 20 cloud puff, step 2
    {1536, 1152, 128, 128},  // 21 cloud puff, step 3
    {1664, 1152, 128, 128},  // 22 cloud puff, step 4
    {1792, 1152, 128, 128},  // 23 cloud puff, step 5
    {1920, 1152, 128, 128},  // 24 cloud puff, step 6 (almost gone)
    // 25..40: 128 x 128 cells along y 1536 from x 0 (39 is 64 x 64).
    {0, 1536, 128, 128},     // 25 hen at rest
    {128, 1536, 128, 128},   // 26 hen, idle variant
    {256, 1536, 128, 128},   // 27 hen laying, first frame
    {384, 1536, 128, 128},   // 28 hen laying, second frame
    {512, 1536, 128, 128},   // 29 hen, second idle variant
    {640, 1536, 128, 128},   // 30 flat yolk puddle
    {768, 1536, 128, 128},   // 31 egg, white
    {896, 1536, 128, 128},   // 32 egg, golden
    {1024, 1536, 128, 128},  // 33 egg, painted (striped)
    {1152, 1536, 128, 128},  // 34 egg, rotten (green, spotted)
    {1280, 1536, 128, 128},  // 35 splat
    {1408, 1536, 128, 128},  // 36 chick, first frame
    {1536, 1536, 128, 128},  // 37 chick, second frame
    {1664, 1536, 128, 128},  // 38 basket alone
    {1792, 1536, 64, 64},    // 39 soft glow disc
    {1856, 1536, 128, 128},  // 40 four-pointed sparkle
};

const SDL_Rect gfx_glow_rect = {1792, 1536, 64, 64};
