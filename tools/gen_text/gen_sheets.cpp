// Kestrune text-picture generator: review sheets. Every string of a language, small and
// large form, assembled from the atlas pieces with the placement rules of the game's text
// drawing (anchor, shrink to the maximum width with vertical centring, right-to-left
// order, nested slots, numbers in the bitmap font), at the game's logical size.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "gen_atlas.h"

namespace {

struct Tint {
    float r, g, b, a;
};

// Copies the source rectangle scaled into the destination rectangle (floats, logical
// pixels), sampling bilinearly as the game's renderer does, tinted, blended over.
void draw_scaled(Picture &dst, const Picture &src, int sx, int sy, int sw, int sh, float dx, float dy, float dw,
                 float dh, Tint tint) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    int x0 = std::max(0, (int)floorf(dx)), x1 = std::min(dst.w, (int)ceilf(dx + dw));
    int y0 = std::max(0, (int)floorf(dy)), y1 = std::min(dst.h, (int)ceilf(dy + dh));
    for (int y = y0; y < y1; y++) {
        float cy = y + 0.5f;
        if (cy < dy || cy >= dy + dh) continue;
        float v = (cy - dy) / dh * sh - 0.5f;
        for (int x = x0; x < x1; x++) {
            float cx = x + 0.5f;
            if (cx < dx || cx >= dx + dw) continue;
            float u = (cx - dx) / dw * sw - 0.5f;
            int iu = (int)floorf(u), iv = (int)floorf(v);
            float fu = u - iu, fv = v - iv;
            float acc[4] = {0, 0, 0, 0};
            for (int k = 0; k < 4; k++) {
                int px = std::clamp(iu + (k & 1), 0, sw - 1), py = std::clamp(iv + (k >> 1), 0, sh - 1);
                float wgt = ((k & 1) ? fu : 1 - fu) * ((k >> 1) ? fv : 1 - fv);
                const uint8_t *s = src.at(sx + px, sy + py);
                float a = s[3] / 255.0f;
                acc[0] += s[0] * a * wgt, acc[1] += s[1] * a * wgt, acc[2] += s[2] * a * wgt, acc[3] += a * wgt;
            }
            float a = acc[3] * tint.a;
            if (a <= 0) continue;
            uint8_t *d = dst.at(x, y);
            float da = d[3] / 255.0f, oa = a + da * (1 - a);
            float col[3] = {acc[0] / acc[3] * tint.r, acc[1] / acc[3] * tint.g, acc[2] / acc[3] * tint.b};
            for (int c = 0; c < 3; c++) d[c] = (uint8_t)std::clamp((col[c] * a + d[c] * da * (1 - a)) / oa + 0.5f, 0.f, 255.f);
            d[3] = (uint8_t)(oa * 255 + 0.5f);
        }
    }
}

int glyph_of(const GenBitmapFont &font, uint32_t cp) {
    auto it = std::lower_bound(font.cps.begin(), font.cps.end(), cp);
    if (it != font.cps.end() && *it == cp) return (int)(it - font.cps.begin());
    return 31;
}

int font_width(const GenBitmapFont &font, const char *text, int large) {
    int w = 5;
    for (uint32_t c : gen_utf8_decode(text)) w += font.advance[large][glyph_of(font, c)] - 5;
    return w;
}

void font_draw(Picture &dst, const GenBitmapFont &font, const char *text, int large, float x, float y, float s,
               Tint tint) {
    int cell = large ? 94 : 56;
    float logical = large ? 47.f : 28.f;
    for (uint32_t c : gen_utf8_decode(text)) {
        int g = glyph_of(font, c);
        int adv = font.advance[large][g];
        draw_scaled(dst, font.atlas[large], font.x[large][g], font.y[large][g], 2 * adv, cell, x, y, adv * s,
                    logical * s, tint);
        x += (adv - 5) * s;
    }
}

struct Sheet {
    const GenAtlas &atlas;
    const GenBitmapFont &font;
    Picture &pic;
};

const int16_t *run_of(const GenAtlas &a, int slot, int large, bool *has_large) {
    *has_large = large && a.offsets[2 * slot + 1] != 0xFFFF;
    uint16_t off = a.offsets[2 * slot + (*has_large ? 1 : 0)];
    if (off == 0xFFFF) return nullptr;
    return &a.runs[off];
}

float layout_width(const Sheet &sh, int slot, int large, const char *const *args, float *factor) {
    bool has_large;
    const int16_t *run = run_of(sh.atlas, slot, large, &has_large);
    *factor = (large && !has_large) ? 17.0f / 9.0f : 1.0f;
    float W = 0;
    if (!run) return 0;
    for (int i = 0; run[i] && i < 16; i++) {
        int e = run[i];
        if (e > 0) {
            W += (sh.atlas.pieces[e - 1].w - 16) * 0.5f * *factor;
        } else {
            const char *t = args ? args[-e - 1] : "";
            if (!t) t = "";
            if (t[0] == 1) {
                float f;
                W += layout_width(sh, atoi(t + 1), large, nullptr, &f);
            } else {
                W += (float)(font_width(sh.font, t, large) + (large ? -6 : -4));
            }
        }
    }
    return W;
}

void draw_items(const Sheet &sh, int slot, int large, const char *const *args, float x, float y, float s, Tint tint) {
    float factor;
    float W = layout_width(sh, slot, large, args, &factor);
    bool has_large;
    const int16_t *run = run_of(sh.atlas, slot, large, &has_large);
    if (!run) return;
    float f = factor * s * 0.5f;
    float baseline_y = y + (large ? 35 : 20) * s;
    bool rtl = sh.atlas.lang->rtl;
    float pen = rtl ? x + W * s : x;
    for (int i = 0; run[i] && i < 16; i++) {
        int e = run[i];
        float width;
        const char *t = nullptr;
        if (e > 0) {
            width = (sh.atlas.pieces[e - 1].w - 16) * 0.5f * factor;
        } else {
            t = args ? args[-e - 1] : "";
            if (!t) t = "";
            float fn;
            width = t[0] == 1 ? layout_width(sh, atoi(t + 1), large, nullptr, &fn)
                              : (float)(font_width(sh.font, t, large) + (large ? -6 : -4));
        }
        float w = width * s;
        float px = rtl ? pen - w : pen;
        if (e > 0) {
            const GenPiece &p = sh.atlas.pieces[e - 1];
            draw_scaled(sh.pic, sh.atlas.picture, p.x, p.y, p.w, p.h, px - 8 * f, baseline_y - p.baseline * f, p.w * f,
                        p.h * f, tint);
        } else if (t[0] == 1) {
            draw_items(sh, atoi(t + 1), large, nullptr, px, y, s, tint);
        } else {
            font_draw(sh.pic, sh.font, t, large, px - (large ? 4 : 3) * s, y, s, tint);
        }
        pen = rtl ? pen - w : pen + w;
    }
}

// The widest a slot may be drawn in the game (the title screen's and head-up display's
// limits; every other call has the default 968).
int max_width_of(int slot) {
    switch (slot) {
    case 3: case 4: case 5: case 6: return 940;
    case 11: return 960;
    case 22: return 200;
    default: return 968;
    }
}

}  // namespace

void gen_read_bitmap_font(GenBitmapFont &font, const std::string &dir) {
    std::string path = dir + "/font_metrics.txt";
    FILE *f = fopen(path.c_str(), "r");
    if (!f) gen_fail("cannot read %s", path.c_str());
    unsigned cp;
    int a0, x0, y0, a1, x1, y1;
    while (fscanf(f, "%u %d %d %d %d %d %d", &cp, &a0, &x0, &y0, &a1, &x1, &y1) == 7) {
        font.cps.push_back(cp);
        font.advance[0].push_back(a0), font.x[0].push_back(x0), font.y[0].push_back(y0);
        font.advance[1].push_back(a1), font.x[1].push_back(x1), font.y[1].push_back(y1);
    }
    fclose(f);
    if (font.cps.size() != 791) gen_fail("%s: not 791 glyphs", path.c_str());
    font.atlas[0] = gen_read_png(dir + "/font_small.png");
    font.atlas[1] = gen_read_png(dir + "/font_large.png");
}

void gen_review_sheet(const GenAtlas &atlas, const GenBitmapFont &font, const std::string &path) {
    // Sample arguments by slot: numbers as the game fills them, slot 7 its language name.
    static const char *const samples[GEN_SLOTS][2] = {
        {}, {}, {}, {}, {}, {}, {}, {"\x01" "2"}, {}, {"7"}, {}, {}, {}, {}, {"12850"}, {}, {},
        {}, {}, {}, {}, {"3", "15"}, {}, {"26"}, {}, {"3"}, {}, {"450"}, {}, {}, {}, {}, {}};
    const int gutter = 40, canvas_w = 1000;
    struct Line {
        int slot, large;
    };
    std::vector<Line> lines;
    for (int slot = 1; slot < GEN_SLOTS; slot++) {
        lines.push_back({slot, 0});
        if (atlas.offsets[2 * slot + 1] != 0xFFFF) lines.push_back({slot, 1});
    }
    int height = 8;
    for (const Line &l : lines) height += l.large ? 58 : 36;
    Picture pic;
    pic.resize(gutter + canvas_w, height);
    for (int y = 0; y < pic.h; y++)
        for (int x = 0; x < pic.w; x++) {
            uint8_t *p = pic.at(x, y);
            bool edge = x >= gutter + (canvas_w - 968) / 2 && x < gutter + (canvas_w + 968) / 2;
            p[0] = 52, p[1] = edge ? 78 : 62, p[2] = edge ? 104 : 84, p[3] = 255;
        }
    Sheet sh = {atlas, font, pic};
    Tint label = {0.7f, 0.75f, 0.8f, 1};
    int y = 8;
    for (const Line &l : lines) {
        char text[16];
        snprintf(text, sizeof text, "%d%s", l.slot, l.large ? "L" : "");
        font_draw(pic, font, text, 0, 2, (float)y + (l.large ? 10 : 0), 1, label);
        const char *args[4] = {samples[l.slot][0], samples[l.slot][1], nullptr, nullptr};
        // text_draw_v: centred on the canvas, shrunk to the maximum width, and then
        // moved down by half the height it lost.
        float factor;
        float W = layout_width(sh, l.slot, l.large, args, &factor);
        float s = 1.0f;
        int max_w = max_width_of(l.slot);
        if (W > max_w) s = max_w / W;
        float x0 = gutter + 500 + (s * W) * -0.5f;
        float y0 = y + (1 - s) * (l.large ? 34 : 18) * 0.5f;
        Tint tint = l.large ? Tint{1, 222 / 255.f, 120 / 255.f, 1} : Tint{1, 236 / 255.f, 200 / 255.f, 1};
        draw_items(sh, l.slot, l.large, args, x0, y0, s, tint);
        y += l.large ? 58 : 36;
    }
    mkdir(path.substr(0, path.rfind('/')).c_str(), 0755);
    gen_write_png_rgba(path, pic);
}
