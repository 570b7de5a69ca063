// Kestrune: the window-title marquee's building blocks (private to text/), separated from
// the window so the tests can drive them with their own strings, clock and width.
#pragma once
#include <cstdint>

// The character starting at s (s must not point at the NUL): its length in bytes, and
// its estimated width in the title bar in *units (when units is not NULL). Only the
// lead byte decides the length; the following bytes are only tested for being non-NUL,
// so a step never runs past the terminator.
int x11_char_step(const char *s, int *units);

// Number of characters and total width units of a NUL-terminated text.
int32_t x11_text_chars(const char *s);
int32_t x11_text_units(const char *s);

// Builds the marquee from a string table (the 33 strings of a language) and resets the
// scroll state.
void x11_build_marquee_from(const char *const *strings);

// 1 when an update at time now (milliseconds) has to look at the window at all.
int x11_marquee_due(int force, uint32_t now);

// One update for a window `width` wide at time now: 1 with the new title in `title`
// (X11_MARQUEE_SIZE bytes) when one is to be written, else 0.
int x11_marquee_step(int force, uint32_t now, int width, char *title);
