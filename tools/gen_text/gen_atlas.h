// Kestrune text-picture generator: one language's text atlas in memory (pieces, runs,
// run offsets and the picture), shared by the atlas step and the review sheets.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gen_common.h"
#include "gen_languages.h"

// Measures fixed by the game's text drawing (atlas pixels).
enum {
    ATLAS_W = 2048,
    PIECE_MARGIN = 8,
    SMALL_H = 68,
    SMALL_BASELINE = 44,
    LARGE_H = 116,
    LARGE_BASELINE = 80,
};

struct GenPiece {
    std::string text;  // the fragment, spaces kept
    bool large = false;
    int x = 0, y = 0, w = 0, h = 0, baseline = 0;
    Picture pic;  // w x h
};

struct GenAtlas {
    const GenLanguage *lang = nullptr;
    std::vector<GenPiece> pieces;  // piece 0 is the 1 x 1 empty piece
    std::vector<int16_t> runs;     // the run pool
    uint16_t offsets[2 * GEN_SLOTS] = {};
    Picture picture;
};

// Builds a language's atlas: fragments cut at the placeholders, shaped and drawn, too
// wide ones split at a space, identical ones stored once, packed in piece order.
void gen_build_atlas(GenAtlas &atlas, const GenLanguage &lang);

// The bitmap font as the game has it, read back from the font step's files.
struct GenBitmapFont {
    std::vector<uint32_t> cps;
    std::vector<int> advance[2], x[2], y[2];
    Picture atlas[2];
};
void gen_read_bitmap_font(GenBitmapFont &font, const std::string &dir);

// Review sheets: every string of the language assembled from its pieces as the game's
// text drawing places them, sample numbers in the placeholders.
void gen_review_sheet(const GenAtlas &atlas, const GenBitmapFont &font, const std::string &path);
