// Kestrune text tests: a 1000 x 736 software renderer over a surface, set up once with
// gfx_init, and helpers to look at what was drawn.
#pragma once
#include <SDL.h>

#include <cstdint>

#include "gfx/gfx.h"

// Starts SDL (dummy video and audio drivers, set explicitly) with a software renderer over
// the canvas and runs gfx_init, the first time only.
void canvas_open();
// Clears the canvas to opaque black (opening it first if need be).
void canvas_clear();
// The pixel at (x, y) as 0xAARRGGBB, after every pending drawing is done.
uint32_t canvas_pixel(int x, int y);

// The bounding box of the pixels that are not black inside a rectangle.
struct InkBox {
    int left, top, right, bottom;  // inclusive; left > right when there is no ink
    bool empty() const { return left > right; }
};
InkBox canvas_ink(int x, int y, int w, int h);
// True when the w x h block at (ax, ay) equals the one at (bx, by), pixel for pixel.
bool canvas_same(int ax, int ay, int bx, int by, int w, int h);
// A cheap fingerprint of a rectangle's pixels.
uint64_t canvas_hash(int x, int y, int w, int h);
