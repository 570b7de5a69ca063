// Kestrune text-picture generator: the title pictures. The game's name as each language
// writes it, 208 pixels high, in the look of the Danish logo: rounded green letters,
// lighter at the top, with a gloss streak along the upper left of every stroke, a cream
// rim, a dark outline and a soft dark shadow on a clear ground. Inside a letter's loops
// (the counters of "e", "a", Devanagari and Bengali bowls) the rim is thinned so that it
// never fills the loop.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <sys/stat.h>

#include "gen_common.h"
#include "gen_languages.h"
#include "gen_steps.h"

namespace {

const int HEIGHT = 208;
const double CREAM = 7.0;        // cream rim, pixels beyond the letters
const double INK = 4.5;          // dark outline beyond the rim
const double SHADOW_DX = 4.0;    // shadow offset
const double SHADOW_DY = 6.0;
const double SHADOW_SIGMA = 4.0;
const int SHADOW_REACH = 12;     // the blur's kernel radius (3 sigma)
const float SHADOW_OPACITY = 0.55f;
const int MARGIN = SHADOW_REACH + 7;  // clear pixels kept around the outline: blur plus offset
const int SS = 3;                // the letters and rims are worked out at 3 x 3 samples a pixel

// The logo's colours: leaf green from light at the top to dark at the bottom, cream rim,
// ink outline, and a shadow darker than the ink.
const float GREEN_TOP[3] = {143, 204, 77}, GREEN_MID[3] = {87, 163, 51}, GREEN_BOTTOM[3] = {51, 117, 41};
const float GREEN_MID_AT = 0.55f;
const float RIM[3] = {246, 232, 196}, OUTLINE[3] = {54, 32, 26}, SHADOW[3] = {28, 18, 14};

// Squared Euclidean distance transform of one line (Felzenszwalb and Huttenlocher).
void edt_line(const float *f, float *d, int n, std::vector<int> &v, std::vector<float> &z) {
    const float INF = 1e20f;
    int k = 0;
    v[0] = 0;
    z[0] = -INF;
    z[1] = INF;
    for (int q = 1; q < n; q++) {
        float s;
        for (;;) {
            int p = v[k];
            s = ((f[q] + (float)q * q) - (f[p] + (float)p * p)) / (2.0f * q - 2.0f * p);
            if (s <= z[k] && k > 0) k--;
            else break;
        }
        if (s <= z[k]) {  // k == 0: replace the first parabola
            v[0] = q;
            z[0] = -INF;
            z[1] = INF;
            continue;
        }
        k++;
        v[k] = q;
        z[k] = s;
        z[k + 1] = INF;
    }
    k = 0;
    for (int q = 0; q < n; q++) {
        while (z[k + 1] < q) k++;
        float dq = (float)(q - v[k]);
        d[q] = dq * dq + f[v[k]];
    }
}

// Distance from every pixel to the nearest pixel of the mask (0 on the mask).
std::vector<float> distance_to(const std::vector<uint8_t> &mask, int w, int h) {
    const float INF = 1e20f;
    std::vector<float> g((size_t)w * h);
    for (size_t i = 0; i < g.size(); i++) g[i] = mask[i] ? 0.0f : INF;
    int n = std::max(w, h);
    std::vector<float> f((size_t)n), d((size_t)n), z((size_t)n + 1);
    std::vector<int> v((size_t)n);
    for (int x = 0; x < w; x++) {
        for (int y = 0; y < h; y++) f[y] = g[(size_t)y * w + x];
        edt_line(f.data(), d.data(), h, v, z);
        for (int y = 0; y < h; y++) g[(size_t)y * w + x] = d[y];
    }
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) f[x] = g[(size_t)y * w + x];
        edt_line(f.data(), d.data(), w, v, z);
        for (int x = 0; x < w; x++) g[(size_t)y * w + x] = sqrtf(d[x]);
    }
    return g;
}

std::vector<float> blur(const std::vector<float> &in, int w, int h) {
    float k[2 * SHADOW_REACH + 1];
    float sum = 0;
    for (int i = -SHADOW_REACH; i <= SHADOW_REACH; i++) {
        k[i + SHADOW_REACH] = expf(-(float)(i * i) / (float)(2 * SHADOW_SIGMA * SHADOW_SIGMA));
        sum += k[i + SHADOW_REACH];
    }
    for (float &x : k) x /= sum;
    std::vector<float> tmp(in.size(), 0.0f), out(in.size(), 0.0f);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            float acc = 0;
            for (int i = -SHADOW_REACH; i <= SHADOW_REACH; i++) {
                int xx = x + i;
                if (xx >= 0 && xx < w) acc += k[i + SHADOW_REACH] * in[(size_t)y * w + xx];
            }
            tmp[(size_t)y * w + x] = acc;
        }
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            float acc = 0;
            for (int i = -SHADOW_REACH; i <= SHADOW_REACH; i++) {
                int yy = y + i;
                if (yy >= 0 && yy < h) acc += k[i + SHADOW_REACH] * tmp[(size_t)yy * w + x];
            }
            out[(size_t)y * w + x] = acc;
        }
    return out;
}

// Averages each SS x SS block of a supersampled layer into one pixel.
std::vector<float> downsample(const std::vector<float> &in, int w, int h) {
    std::vector<float> out((size_t)w * h, 0.0f);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            float acc = 0;
            for (int j = 0; j < SS; j++)
                for (int i = 0; i < SS; i++) acc += in[((size_t)y * SS + j) * w * SS + (size_t)x * SS + i];
            out[(size_t)y * w + x] = acc / (SS * SS);
        }
    return out;
}

Picture draw_title(const GenLanguage &lang) {
    char what[64];
    snprintf(what, sizeof what, "%s, title", lang.code);
    const GenTitleFace &face = *lang.title_face;
    // Measure at a trial size, then set the size that makes the swollen letters fill the
    // height inside the rim, outline and shadow.
    const double trial = 100.0;
    GenTextStyle style = {face.families, face.weight, trial, lang.pango_language, lang.rtl, face.spacing * trial};
    GenLine probe;
    gen_layout_line(probe, style, lang.title_name, face.families, what);
    double room = HEIGHT - 2 * (MARGIN + CREAM + INK);
    style.px = floor(trial * room / (probe.ink_h + 2 * face.swell * trial));
    style.letter_spacing = face.spacing * style.px;
    GenLine line;
    gen_layout_line(line, style, lang.title_name, face.families, what);
    gen_check_marks(style, lang.title_name, face.families, what);
    const double swell = face.swell * style.px;
    const double pad = swell + CREAM + INK + MARGIN;
    int w = (int)ceil(line.ink_w + 2 * pad);
    int h = HEIGHT;
    int W = w * SS, H = h * SS;

    // The letters, swollen with round corners, their ink box centred in the picture.
    double ox = (w - line.ink_w) / 2 - line.ink_x;
    double oy = (h - line.ink_h) / 2 - line.ink_y;
    cairo_surface_t *surf = cairo_image_surface_create(CAIRO_FORMAT_A8, W, H);
    cairo_t *cr = cairo_create(surf);
    cairo_scale(cr, SS, SS);
    cairo_move_to(cr, ox, oy);
    gen_line_path(cr, line);
    cairo_fill_preserve(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 2 * swell);
    if (swell > 0) cairo_stroke(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surf);
    std::vector<float> letters((size_t)W * H);
    std::vector<uint8_t> solid((size_t)W * H), ground((size_t)W * H);
    const unsigned char *data = cairo_image_surface_get_data(surf);
    int stride = cairo_image_surface_get_stride(surf);
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            float a = data[(size_t)y * stride + x] / 255.0f;
            size_t i = (size_t)y * W + x;
            letters[i] = a;
            solid[i] = a >= 0.5f;
            ground[i] = !solid[i];
        }
    cairo_surface_destroy(surf);
    std::vector<float> dist = distance_to(solid, W, H);    // outside the letters
    std::vector<float> depth = distance_to(ground, W, H);  // inside them

    // The ground reachable from the picture's edge is outside; the rest of the ground
    // lies in loops. Each loop gets a rim no wider than half its own inner radius.
    std::vector<int> region((size_t)W * H, -1);  // -1 letter, 0 outside, 1.. loops
    std::deque<int> queue;
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++)
            if (!solid[(size_t)y * W + x] && (x == 0 || y == 0 || x == W - 1 || y == H - 1)) {
                region[(size_t)y * W + x] = 0;
                queue.push_back(y * W + x);
            }
    std::vector<float> loop_radius(1, 0.0f);
    auto flood = [&](int label) {
        while (!queue.empty()) {
            int p = queue.front();
            queue.pop_front();
            int x = p % W, y = p / W;
            if (label > 0) loop_radius[(size_t)label] = std::max(loop_radius[(size_t)label], dist[(size_t)p]);
            const int nx[4] = {x - 1, x + 1, x, x}, ny[4] = {y, y, y - 1, y + 1};
            for (int i = 0; i < 4; i++) {
                if (nx[i] < 0 || ny[i] < 0 || nx[i] >= W || ny[i] >= H) continue;
                size_t q = (size_t)ny[i] * W + nx[i];
                if (solid[q] || region[q] != -1) continue;
                region[q] = label;
                queue.push_back((int)q);
            }
        }
    };
    flood(0);
    for (int p = 0; p < W * H; p++)
        if (!solid[(size_t)p] && region[(size_t)p] == -1) {
            int label = (int)loop_radius.size();
            loop_radius.push_back(0.0f);
            region[(size_t)p] = label;
            queue.push_back(p);
            flood(label);
        }
    // Rim and outline coverage (each holding what lies inside it), in samples.
    std::vector<float> rim((size_t)W * H), outline((size_t)W * H);
    for (size_t i = 0; i < rim.size(); i++) {
        float r_out = (float)((CREAM + INK) * SS), r_rim = (float)(CREAM * SS);
        if (region[i] > 0) {
            float most = 0.5f * loop_radius[(size_t)region[i]];
            if (most < r_out) r_rim *= most / r_out, r_out = most;
        }
        outline[i] = std::max(std::clamp(r_out - dist[i] + 0.5f, 0.0f, 1.0f), letters[i]);
        rim[i] = std::max(std::clamp(r_rim - dist[i] + 0.5f, 0.0f, 1.0f), letters[i]);
    }

    // The gloss, as the logo's: along the upper left of every stroke, a little inside its
    // edge, a broad faint band and a narrow bright line, both widths a share of the
    // letters' mean stroke width (twice their area over their edge length).
    double area = 0, edge = 0;
    for (int y = 1; y < H - 1; y++)
        for (int x = 1; x < W - 1; x++) {
            size_t i = (size_t)y * W + x;
            if (!solid[i]) continue;
            area++;
            if (!solid[i - 1] || !solid[i + 1] || !solid[i - W] || !solid[i + W]) edge++;
        }
    const double stroke = edge > 0 ? 2 * area / edge : 0;  // in samples
    const double lx = -5 / sqrt(74.0), ly = -7 / sqrt(74.0);  // towards the light
    auto inside = [&](double x, double y, double inset) {
        int xi = (int)lround(x), yi = (int)lround(y);
        if (xi < 0 || yi < 0 || xi >= W || yi >= H) return 0.0f;
        return std::clamp(depth[(size_t)yi * W + xi] - (float)inset, 0.0f, 1.0f);
    };
    // A band: the part of the letters inset by `inset` whose point `width` further
    // towards the light lies outside that inset shape.
    auto band = [&](int x, int y, double inset, double width) {
        return inside(x, y, inset) * (1.0f - inside(x + lx * width, y + ly * width, inset));
    };
    std::vector<float> gloss((size_t)W * H, 0.0f);
    double top = oy + line.ink_y - swell, bottom = oy + line.ink_y + line.ink_h + swell;
    for (int y = 0; y < H; y++) {
        // Full on the upper half of the letters, fading to half at the bottom.
        float t = (float)std::clamp((y / (double)SS - top) / (bottom - top), 0.0, 1.0);
        float fade = t < 0.5f ? 1.0f : 1.0f - (t - 0.5f);
        for (int x = 0; x < W; x++) {
            size_t i = (size_t)y * W + x;
            if (!solid[i]) continue;
            float broad = band(x, y, 0.14 * stroke, 0.34 * stroke);
            float narrow = band(x, y, 0.16 * stroke, 0.12 * stroke);
            float g = 1.0f - (1.0f - 0.28f * broad) * (1.0f - 0.6f * narrow);
            gloss[i] = g * fade * letters[i];
        }
    }

    std::vector<float> L = downsample(letters, w, h), R = downsample(rim, w, h), O = downsample(outline, w, h),
                       G = downsample(gloss, w, h);

    // The shadow: the outlined letters blurred, moved down and right.
    std::vector<float> shifted((size_t)w * h, 0.0f);
    int sdx = (int)SHADOW_DX, sdy = (int)SHADOW_DY;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            int sx = x - sdx, sy = y - sdy;
            if (sx >= 0 && sy >= 0) shifted[(size_t)y * w + x] = O[(size_t)sy * w + sx];
        }
    std::vector<float> shadow = blur(shifted, w, h);

    // Layers from the bottom: shadow, outline, rim, green letters, gloss.
    Picture pic;
    pic.resize(w, h);
    for (int y = 0; y < h; y++) {
        float t = (float)std::clamp((y + 0.5 - top) / (bottom - top), 0.0, 1.0);
        float green[3];
        for (int c = 0; c < 3; c++)
            green[c] = t < GREEN_MID_AT ? GREEN_TOP[c] + (GREEN_MID[c] - GREEN_TOP[c]) * t / GREEN_MID_AT
                                        : GREEN_MID[c] + (GREEN_BOTTOM[c] - GREEN_MID[c]) * (t - GREEN_MID_AT) / (1 - GREEN_MID_AT);
        for (int x = 0; x < w; x++) {
            size_t i = (size_t)y * w + x;
            float a = shadow[i] * SHADOW_OPACITY;
            float col[3] = {SHADOW[0], SHADOW[1], SHADOW[2]};
            auto over = [&](const float *c, float la) {
                float oa = la + a * (1 - la);
                if (oa <= 0) return;
                for (int k = 0; k < 3; k++) col[k] = (c[k] * la + col[k] * a * (1 - la)) / oa;
                a = oa;
            };
            over(OUTLINE, O[i]);
            over(RIM, R[i]);
            float shine[3];
            for (int c = 0; c < 3; c++) shine[c] = green[c] + (255 - green[c]) * (L[i] > 0 ? std::min(1.0f, G[i] / L[i]) : 0);
            over(shine, L[i]);
            uint8_t *o = pic.at(x, y);
            for (int c = 0; c < 3; c++) o[c] = (uint8_t)std::clamp(col[c] + 0.5f, 0.0f, 255.0f);
            o[3] = (uint8_t)std::clamp(a * 255 + 0.5f, 0.0f, 255.0f);
        }
    }
    // Nothing may touch the picture's edge.
    if (gen_ink_outside(pic, 1, 1, w - 2, h - 2)) gen_fail("%s: the title is clipped", what);
    return pic;
}

// The review sheet: every title at the height the title screen shows it (104, or
// narrower when wider than 720) over a ground like the title screen's shaded sky.
void title_sheet(const std::vector<Picture> &titles, const std::string &path) {
    const int cell_w = 760, cell_h = 116, cols = 2;
    int rows = (int)(titles.size() + cols - 1) / cols;
    Picture sheet;
    sheet.resize(cols * cell_w, rows * cell_h);
    for (int y = 0; y < sheet.h; y++)
        for (int x = 0; x < sheet.w; x++) {
            uint8_t *p = sheet.at(x, y);
            float t = (float)(y % cell_h) / cell_h;
            p[0] = (uint8_t)(60 + 50 * t), p[1] = (uint8_t)(90 + 50 * t), p[2] = (uint8_t)(80 + 40 * t), p[3] = 255;
        }
    for (size_t i = 0; i < titles.size(); i++) {
        const Picture &t = titles[i];
        int h = 104, w = t.w * h / t.h;
        if (w >= 721) h = 74880 / w, w = 720;
        // Area-averaged down-scaling (premultiplied), then blended over the ground.
        Picture small;
        small.resize(w, h);
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) {
                int x0 = x * t.w / w, x1 = std::max(x0 + 1, (x + 1) * t.w / w);
                int y0 = y * t.h / h, y1 = std::max(y0 + 1, (y + 1) * t.h / h);
                float acc[4] = {0, 0, 0, 0};
                for (int yy = y0; yy < y1; yy++)
                    for (int xx = x0; xx < x1; xx++) {
                        const uint8_t *s = t.at(xx, yy);
                        float a = s[3] / 255.0f;
                        for (int c = 0; c < 3; c++) acc[c] += s[c] * a;
                        acc[3] += a;
                    }
                float n = (float)((x1 - x0) * (y1 - y0));
                uint8_t *o = small.at(x, y);
                if (acc[3] > 0)
                    for (int c = 0; c < 3; c++) o[c] = (uint8_t)(acc[c] / acc[3] + 0.5f);
                o[3] = (uint8_t)(acc[3] / n * 255 + 0.5f);
            }
        int cx = (int)(i % cols) * cell_w, cy = (int)(i / cols) * cell_h;
        gen_blend(sheet, cx + (cell_w - w) / 2, cy + (cell_h - h) / 2, small, 0, 0, w, h);
    }
    gen_write_png_rgba(path, sheet);
}

}  // namespace

void gen_title_pictures(const std::string &outdir) {
    std::vector<Picture> titles;
    for (const GenLanguage &lang : gen_languages) {
        titles.push_back(draw_title(lang));
        gen_write_png_rgba(outdir + "/title_" + lang.code + ".png", titles.back());
    }
    mkdir((outdir + "/review").c_str(), 0755);
    title_sheet(titles, outdir + "/review/titles.png");
}
