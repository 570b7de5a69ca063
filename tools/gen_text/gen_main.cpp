// Kestrune text-picture generator. Run by the build (data/text.cmake):
//   gen_text font OUTDIR          the bitmap-font atlases and tables
//   gen_text texts OUTDIR FONTDIR the text atlases, their tables and the review sheets
//   gen_text titles OUTDIR        the title pictures and their review sheet
//   gen_text probe CODE small|large TEXT   one text drawn and checked as atlas pieces
//   gen_text view IN.png OUT.png X Y W H   a crop of a picture over a checked ground
// GEN_TEXT_DEBUG=1 prints every fragment's ink height above and below its baseline, and
// the pieces widened to hold a glyph that swings out past the margin.
// Every picture is drawn from the fonts of gen_fonts.inc only; any fault stops the
// build with a message.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

#include "gen_common.h"
#include "gen_steps.h"

int main(int argc, char **argv) {
    if (argc < 3) gen_fail("usage: gen_text font|texts|titles|probe|view ...");
    gen_fonts_open();
    // The build steps make their output folder (mkdir fails harmlessly when it is there).
    bool build_step = !strcmp(argv[1], "font") || !strcmp(argv[1], "texts") || !strcmp(argv[1], "titles");
    if (build_step) mkdir(argv[2], 0755);
    if (strcmp(argv[1], "font") == 0) {
        gen_bitmap_font(argv[2]);
        return 0;
    }
    if (strcmp(argv[1], "texts") == 0 && argc == 4) {
        gen_text_atlases(argv[2], argv[3]);
        return 0;
    }
    if (strcmp(argv[1], "titles") == 0) {
        gen_title_pictures(argv[2]);
        return 0;
    }
    if (strcmp(argv[1], "probe") == 0 && argc == 5) {
        gen_probe(argv[2], strcmp(argv[3], "large") == 0, argv[4]);
        return 0;
    }
    if (strcmp(argv[1], "view") == 0 && argc == 8) {
        // A crop of a picture over a checked ground, for looking at by eye.
        Picture in = gen_read_png(argv[2]);
        int x = atoi(argv[4]), y = atoi(argv[5]), w = atoi(argv[6]), h = atoi(argv[7]);
        if (w <= 0 || h <= 0 || x < 0 || y < 0 || x >= in.w || y >= in.h) gen_fail("view: bad rectangle");
        Picture out;
        out.resize(w, h);
        for (int j = 0; j < h; j++)
            for (int i = 0; i < w; i++) {
                uint8_t *o = out.at(i, j);
                bool check = ((i / 8) + (j / 8)) % 2;
                o[0] = check ? 60 : 80, o[1] = check ? 90 : 110, o[2] = check ? 140 : 160, o[3] = 255;
            }
        gen_blend(out, 0, 0, in, x, y, std::min(w, in.w - x), std::min(h, in.h - y));
        gen_write_png_rgba(argv[3], out);
        return 0;
    }
    gen_fail("unknown step \"%s\"", argv[1]);
}
