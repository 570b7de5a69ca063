// Kestrune picture generator.
//   gen_pictures OUTPUT_DIR REVIEW_DIR
// writes sprite_atlas.png, hero_portrait.png, title_logo.png and background_00.jpg ..
// background_14.jpg into OUTPUT_DIR, and review sheets (PNG, for people to look at) into
// REVIEW_DIR, or none when REVIEW_DIR is "-". The same program gives the same pictures on
// every run.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "gp.h"

namespace {

bool check_size(cairo_surface_t *s, int w, int h, const char *what) {
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS || cairo_image_surface_get_width(s) != w ||
        cairo_image_surface_get_height(s) != h) {
        std::fprintf(stderr, "gen_pictures: %s is not %d x %d\n", what, w, h);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gen_pictures OUTPUT_DIR REVIEW_DIR\n");
        return 2;
    }
    std::string out = argv[1];
    std::string review = argv[2];
    bool want_review = review != "-";
    mkdir(out.c_str(), 0755);
    if (want_review) mkdir(review.c_str(), 0755);
    bool ok = true;

    bool clean = true;
    cairo_surface_t *atlas = make_atlas(&clean);
    ok = clean && ok;
    ok = check_size(atlas, ATLAS_W, ATLAS_H, "the sprite atlas") && ok;
    ok = write_png(atlas, out + "/sprite_atlas.png") && ok;

    cairo_surface_t *portrait = make_hero_portrait();
    ok = check_size(portrait, 254, 300, "the hero portrait") && ok;
    ok = write_png(portrait, out + "/hero_portrait.png") && ok;

    cairo_surface_t *logo = make_title_logo();
    ok = check_size(logo, 1023, 360, "the title logo") && ok;
    ok = write_png(logo, out + "/title_logo.png") && ok;

    cairo_surface_t *backgrounds[15];
    for (int i = 0; i < 15; i++) {
        backgrounds[i] = make_background(i);
        char name[64];
        std::snprintf(name, sizeof name, "/background_%02d.jpg", i);
        ok = check_size(backgrounds[i], 960, 640, name + 1) && ok;
        ok = write_jpeg(backgrounds[i], out + name, 90) && ok;
    }

    if (want_review) write_review_sheets(review, atlas, backgrounds, logo, portrait);

    for (cairo_surface_t *b : backgrounds) cairo_surface_destroy(b);
    cairo_surface_destroy(logo);
    cairo_surface_destroy(portrait);
    cairo_surface_destroy(atlas);
    if (!ok) {
        std::fprintf(stderr, "gen_pictures: failed to write the pictures into %s\n", out.c_str());
        return 1;
    }
    return 0;
}
