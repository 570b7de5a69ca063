// Kestrune: what the graphics subsystem's own files share and nobody else sees.
#pragma once
#include "data/data.h"
#include "gfx/gfx.h"

// The decoded pixels of an embedded picture (four channels, freed with stbi_image_free):
// taken from its decoding ahead when there is one, waiting for it if need be, else
// decoded now. NULL when the bytes don't decode, with the decoder's reason in *failure.
unsigned char *gfx_decode_take(const unsigned char *data, int size, int *w, int *h, const char **failure);

// The background number 0..14 of a level: the level mod 15, never negative.
int gfx_background_key(int level);
