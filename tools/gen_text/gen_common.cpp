// Kestrune text-picture generator: the private font set, checked line layout, and
// picture and PNG helpers.
#include "gen_common.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangofc-fontmap.h>
#include <png.h>
#include <unistd.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace {

struct FontFile {
    const char *path;
    const char *package;
};
const FontFile font_files[FONT_COUNT] = {
#define GEN_FONT(id, file, package) {file, package},
#include "gen_fonts.inc"
#undef GEN_FONT
};

PangoFontMap *font_map = nullptr;

bool whitespace_or_format(gunichar c) {
    return g_unichar_isspace(c) || g_unichar_type(c) == G_UNICODE_FORMAT || c == 0x00AD;
}

bool family_allowed(const char *allowed, const char *family) {
    if (!allowed) return true;
    size_t n = strlen(family);
    const char *p = allowed;
    while (*p) {
        while (*p == ' ' || *p == ',') p++;
        const char *end = p;
        while (*end && *end != ',') end++;
        const char *last = end;
        while (last > p && last[-1] == ' ') last--;
        if ((size_t)(last - p) == n && strncmp(p, family, n) == 0) return true;
        p = end;
    }
    return false;
}

}  // namespace

void gen_fail(const char *fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    fprintf(stderr, "gen_text: error: ");
    vfprintf(stderr, fmt, ap);
    fprintf(stderr, "\n");
    va_end(ap);
    exit(1);
}

void gen_fonts_open() {
    for (const FontFile &f : font_files) {
        if (access(f.path, R_OK) != 0)
            gen_fail("font file %s is missing: install the Debian package %s (tools/setup.sh)", f.path,
                     f.package);
    }
    // An empty configuration: no system font directories, no user rules, no caches.
    FcConfig *config = FcConfigCreate();
    for (const FontFile &f : font_files) {
        if (!FcConfigAppFontAddFile(config, (const FcChar8 *)f.path))
            gen_fail("font file %s (package %s) could not be read", f.path, f.package);
    }
    // The current configuration too, so that Cairo's own look-ups of rendering options
    // (antialiasing, hinting, subpixel order) meet no rules of the machine's either.
    if (!FcConfigSetCurrent(config)) gen_fail("cannot set up the private font set");
    font_map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    if (!font_map) gen_fail("no FreeType font map in Pango/Cairo");
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(font_map), config);
    FcConfigDestroy(config);
}

PangoContext *gen_context(const char *language, bool rtl) {
    PangoContext *ctx = pango_font_map_create_context(font_map);
    cairo_font_options_t *fo = cairo_font_options_create();
    cairo_font_options_set_antialias(fo, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(ctx, fo);
    cairo_font_options_destroy(fo);
    pango_cairo_context_set_resolution(ctx, 72.0);
    pango_context_set_round_glyph_positions(ctx, FALSE);
    pango_context_set_language(ctx, pango_language_from_string(language));
    pango_context_set_base_dir(ctx, rtl ? PANGO_DIRECTION_RTL : PANGO_DIRECTION_LTR);
    return ctx;
}

bool gen_font_has_char(PangoContext *ctx, const char *description, uint32_t c) {
    PangoFontDescription *d = pango_font_description_from_string(description);
    PangoFont *font = pango_font_map_load_font(font_map, ctx, d);
    pango_font_description_free(d);
    if (!font) return false;
    bool has = pango_font_has_char(font, c);
    g_object_unref(font);
    return has;
}

GenLine::~GenLine() {
    if (layout) g_object_unref(layout);
    if (ctx) g_object_unref(ctx);
}

void gen_layout_line(GenLine &line, const GenTextStyle &style, const char *text, const char *allowed,
                     const char *what) {
    line.ctx = gen_context(style.language, style.rtl);
    line.layout = pango_layout_new(line.ctx);
    PangoLayout *layout = line.layout;
    pango_layout_set_auto_dir(layout, FALSE);
    PangoFontDescription *d = pango_font_description_from_string(style.families);
    pango_font_description_set_weight(d, style.weight);
    pango_font_description_set_absolute_size(d, style.px * PANGO_SCALE);
    pango_layout_set_font_description(layout, d);
    pango_font_description_free(d);
    PangoAttrList *attrs = pango_attr_list_new();
    pango_attr_list_insert(attrs, pango_attr_language_new(pango_language_from_string(style.language)));
    if (style.letter_spacing != 0)
        pango_attr_list_insert(attrs, pango_attr_letter_spacing_new((int)lround(style.letter_spacing * PANGO_SCALE)));
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);
    pango_layout_set_text(layout, text, -1);

    if (pango_layout_get_line_count(layout) != 1) gen_fail("%s: the text \"%s\" is not one line", what, text);

    // Every glyph found, from an allowed font, and every visible cluster inked.
    PangoLayoutLine *pl = pango_layout_get_line_readonly(layout, 0);
    for (GSList *r = pl->runs; r; r = r->next) {
        PangoGlyphItem *run = (PangoGlyphItem *)r->data;
        PangoFont *font = run->item->analysis.font;
        PangoFontDescription *fd = pango_font_describe(font);
        const char *family = pango_font_description_get_family(fd);
        const char *item_text = text + run->item->offset;
        if (!family_allowed(allowed, family ? family : "")) {
            gunichar c = g_utf8_get_char(item_text);
            gen_fail("%s: U+%04X in \"%s\" came from the font \"%s\", not one of \"%s\"", what, c, text,
                     family ? family : "?", allowed);
        }
        pango_font_description_free(fd);
        PangoGlyphString *gs = run->glyphs;
        std::vector<int> starts;  // cluster starts (byte offsets in the item)
        std::vector<bool> inked;
        for (int i = 0; i < gs->num_glyphs; i++) {
            int cluster = gs->log_clusters[i];
            PangoGlyph g = gs->glyphs[i].glyph;
            gunichar c = g_utf8_get_char(item_text + cluster);
            if (g & PANGO_GLYPH_UNKNOWN_FLAG) {
                if (!whitespace_or_format(c))
                    gen_fail("%s: no font has a glyph for U+%04X in \"%s\"", what, c, text);
                continue;
            }
            bool ink = false;
            if (g != PANGO_GLYPH_EMPTY) {
                PangoRectangle ir;
                pango_font_get_glyph_extents(font, g, &ir, nullptr);
                ink = ir.width > 0 && ir.height > 0;
            }
            size_t k = 0;
            while (k < starts.size() && starts[k] != cluster) k++;
            if (k == starts.size()) {
                starts.push_back(cluster);
                inked.push_back(false);
            }
            if (ink) inked[k] = true;
        }
        for (size_t k = 0; k < starts.size(); k++) {
            if (inked[k]) continue;
            // The cluster runs to the next cluster start above it, or to the item's end.
            int end = run->item->length;
            for (int s : starts)
                if (s > starts[k] && s < end) end = s;
            for (const char *p = item_text + starts[k]; p < item_text + end; p = g_utf8_next_char(p)) {
                gunichar c = g_utf8_get_char(p);
                if (!whitespace_or_format(c))
                    gen_fail("%s: the glyph of U+%04X in \"%s\" has no ink", what, c, text);
            }
        }
    }

    PangoRectangle ink, logical;
    pango_layout_get_extents(layout, &ink, &logical);
    line.advance = (double)logical.width / PANGO_SCALE;
    line.baseline = (double)pango_layout_get_baseline(layout) / PANGO_SCALE;
    line.ink_x = (double)(ink.x - logical.x) / PANGO_SCALE;  // from the logical box's left edge
    line.ink_y = (double)ink.y / PANGO_SCALE;
    line.ink_w = (double)ink.width / PANGO_SCALE;
    line.ink_h = (double)ink.height / PANGO_SCALE;
}

namespace {

bool is_mark(gunichar c) {
    GUnicodeType t = g_unichar_type(c);
    return t == G_UNICODE_NON_SPACING_MARK || t == G_UNICODE_SPACING_MARK;
}

// The text's coverage as a plain fill, its layout's top-left corner at (pad, pad) of a
// w x h picture.
std::vector<uint8_t> fill_coverage(const GenLine &line, int w, int h, double pad) {
    cairo_surface_t *surf = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
    cairo_t *cr = cairo_create(surf);
    cairo_move_to(cr, pad, pad);
    gen_line_path(cr, line);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surf);
    std::vector<uint8_t> out((size_t)w * h);
    const unsigned char *data = cairo_image_surface_get_data(surf);
    int stride = cairo_image_surface_get_stride(surf);
    for (int y = 0; y < h; y++) memcpy(&out[(size_t)y * w], data + (size_t)y * stride, (size_t)w);
    cairo_surface_destroy(surf);
    return out;
}

// The glyphs of a laid-out line, counted by font face and glyph number.
std::map<std::pair<std::string, PangoGlyph>, int> glyph_counts(const GenLine &line) {
    std::map<std::pair<std::string, PangoGlyph>, int> out;
    PangoLayoutLine *pl = pango_layout_get_line_readonly(line.layout, 0);
    for (GSList *r = pl->runs; r; r = r->next) {
        PangoGlyphItem *run = (PangoGlyphItem *)r->data;
        PangoFontDescription *fd = pango_font_describe(run->item->analysis.font);
        char *name = pango_font_description_to_string(fd);
        for (int i = 0; i < run->glyphs->num_glyphs; i++) out[{name, run->glyphs->glyphs[i].glyph}]++;
        g_free(name);
        pango_font_description_free(fd);
    }
    return out;
}

// The ink of one glyph drawn alone, in pixels (coverage summed).
double glyph_ink(const GenLine &line, const std::pair<std::string, PangoGlyph> &key) {
    PangoLayoutLine *pl = pango_layout_get_line_readonly(line.layout, 0);
    PangoFont *font = nullptr;
    for (GSList *r = pl->runs; r && !font; r = r->next) {
        PangoFont *f = ((PangoGlyphItem *)r->data)->item->analysis.font;
        PangoFontDescription *fd = pango_font_describe(f);
        char *name = pango_font_description_to_string(fd);
        if (key.first == name) font = f;
        g_free(name);
        pango_font_description_free(fd);
    }
    if (!font || (key.second & PANGO_GLYPH_UNKNOWN_FLAG) || key.second == PANGO_GLYPH_EMPTY) return 0;
    PangoRectangle ink;
    pango_font_get_glyph_extents(font, key.second, &ink, nullptr);
    if (ink.width <= 0 || ink.height <= 0) return 0;
    int w = ink.width / PANGO_SCALE + 4, h = ink.height / PANGO_SCALE + 4;
    cairo_surface_t *surf = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
    cairo_t *cr = cairo_create(surf);
    PangoGlyphString *gs = pango_glyph_string_new();
    pango_glyph_string_set_size(gs, 1);
    gs->glyphs[0].glyph = key.second;
    gs->glyphs[0].geometry = {0, 0, 0};
    gs->glyphs[0].attr.is_cluster_start = 1;
    gs->log_clusters[0] = 0;
    cairo_move_to(cr, 2.0 - (double)ink.x / PANGO_SCALE, 2.0 - (double)ink.y / PANGO_SCALE);
    pango_cairo_glyph_string_path(cr, font, gs);
    cairo_fill(cr);
    pango_glyph_string_free(gs);
    cairo_destroy(cr);
    cairo_surface_flush(surf);
    const unsigned char *data = cairo_image_surface_get_data(surf);
    int stride = cairo_image_surface_get_stride(surf);
    double sum = 0;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) sum += data[(size_t)y * stride + x];
    cairo_surface_destroy(surf);
    return sum / 255.0;
}

std::string normalized(const std::string &s, GNormalizeMode mode) {
    gchar *n = g_utf8_normalize(s.c_str(), (gssize)s.size(), mode);
    if (!n) gen_fail("cannot normalize \"%s\"", s.c_str());
    std::string out(n);
    g_free(n);
    return out;
}

}  // namespace

void gen_check_marks(const GenTextStyle &style, const char *text, const char *allowed, const char *what) {
    // Clusters: a character that is not a mark and the marks right after it.
    std::vector<std::pair<size_t, size_t>> clusters;  // byte offset, byte length
    for (const char *p = text; *p;) {
        const char *q = g_utf8_next_char(p);
        while (*q && is_mark(g_utf8_get_char(q))) q = g_utf8_next_char(q);
        clusters.emplace_back((size_t)(p - text), (size_t)(q - p));
        p = q;
    }
    GenLine whole;
    std::vector<uint8_t> whole_px;
    int w = 0, h = 0;
    const double pad = 2 * style.px;  // room for marks that swing far out
    for (auto [start, length] : clusters) {
        std::string cluster(text + start, length);
        std::vector<uint32_t> parts = gen_utf8_decode(normalized(cluster, G_NORMALIZE_NFD).c_str());
        for (size_t k = 0; k < parts.size(); k++) {
            if (!is_mark(parts[k])) continue;
            if (whole_px.empty()) {
                gen_layout_line(whole, style, text, allowed, what);
                PangoRectangle logical;
                pango_layout_get_extents(whole.layout, nullptr, &logical);
                w = (int)ceil(whole.advance + 2 * pad);
                h = (int)ceil((double)logical.height / PANGO_SCALE + 2 * pad);
                whole_px = fill_coverage(whole, w, h, pad);
            }
            std::string without;
            for (size_t j = 0; j < parts.size(); j++)
                if (j != k) without += gen_utf8_encode(parts[j]);
            std::string variant = std::string(text, start) + normalized(without, G_NORMALIZE_NFC) +
                                  std::string(text + start + length);
            GenLine line;
            gen_layout_line(line, style, variant.c_str(), allowed, what);
            std::vector<uint8_t> px = fill_coverage(line, w, h, pad);
            // The ink the mark adds where it is seen.
            bool differs = false;
            double added = 0;
            for (size_t i = 0; i < px.size(); i++) {
                int d = (int)whole_px[i] - (int)px[i];
                if (abs(d) > 64) differs = true;
                if (d > 0) added += d / 255.0;
            }
            // The ink the mark's own glyphs bring: glyphs of the whole text less those of
            // the text without the mark (a mark can also change a glyph, as a precomposed
            // letter or a Thai vowel with its tone mark in one glyph does). A mark that
            // only reshapes its cluster (a virama joining two consonants) brings none.
            auto with = glyph_counts(whole), without_mark = glyph_counts(line);
            double expected = 0;
            for (auto &[key, n] : with) {
                auto it = without_mark.find(key);
                int extra = n - (it == without_mark.end() ? 0 : it->second);
                if (extra > 0) expected += extra * glyph_ink(whole, key);
            }
            for (auto &[key, n] : without_mark) {
                auto it = with.find(key);
                int extra = n - (it == with.end() ? 0 : it->second);
                if (extra > 0) expected -= extra * glyph_ink(line, key);
            }
            if (!differs || (expected > 1.0 && added < 0.5 * expected))
                gen_fail("%s: the mark U+%04X of \"%s\" is not drawn in \"%s\" (it shows %.0f of its %.0f pixels)",
                         what, parts[k], cluster.c_str(), text, added, expected);
        }
    }
}

void gen_line_path(cairo_t *cr, const GenLine &line) {
    PangoRectangle logical;
    pango_layout_get_extents(line.layout, nullptr, &logical);
    double x, y;
    cairo_get_current_point(cr, &x, &y);
    cairo_move_to(cr, x - (double)logical.x / PANGO_SCALE, y);
    pango_cairo_layout_path(cr, line.layout);
}

void gen_outline_and_fill(cairo_t *cr, double r) {
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 2 * r);
    cairo_set_source_rgb(cr, 16 / 255.0, 16 / 255.0, 16 / 255.0);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
    cairo_restore(cr);
}

cairo_surface_t *gen_surface(int w, int h) {
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) gen_fail("cannot make a %d x %d picture", w, h);
    return s;
}

Picture gen_picture_from_surface(cairo_surface_t *s) {
    cairo_surface_flush(s);
    Picture p;
    p.resize(cairo_image_surface_get_width(s), cairo_image_surface_get_height(s));
    const unsigned char *data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < p.h; y++) {
        const uint32_t *row = (const uint32_t *)(data + (size_t)y * stride);
        for (int x = 0; x < p.w; x++) {
            uint32_t v = row[x];
            unsigned a = v >> 24;
            uint8_t *o = p.at(x, y);
            if (a == 0) continue;
            unsigned r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF;
            o[0] = (uint8_t)((r * 255 + a / 2) / a);
            o[1] = (uint8_t)((g * 255 + a / 2) / a);
            o[2] = (uint8_t)((b * 255 + a / 2) / a);
            o[3] = (uint8_t)a;
        }
    }
    return p;
}

bool gen_ink_outside(const Picture &p, int x, int y, int w, int h) {
    for (int j = 0; j < p.h; j++)
        for (int i = 0; i < p.w; i++) {
            if (i >= x && i < x + w && j >= y && j < y + h) continue;
            if (p.at(i, j)[3] != 0) return true;
        }
    return false;
}

void gen_copy(Picture &dst, int dx, int dy, const Picture &src, int sx, int sy, int w, int h) {
    for (int j = 0; j < h; j++)
        memcpy(dst.at(dx, dy + j), src.at(sx, sy + j), (size_t)w * 4);
}

void gen_blend(Picture &dst, int dx, int dy, const Picture &src, int sx, int sy, int w, int h) {
    for (int j = 0; j < h; j++) {
        int y = dy + j;
        if (y < 0 || y >= dst.h) continue;
        for (int i = 0; i < w; i++) {
            int x = dx + i;
            if (x < 0 || x >= dst.w) continue;
            const uint8_t *s = src.at(sx + i, sy + j);
            uint8_t *d = dst.at(x, y);
            float sa = s[3] / 255.0f, da = d[3] / 255.0f;
            float oa = sa + da * (1 - sa);
            if (oa <= 0) continue;
            for (int c = 0; c < 3; c++) d[c] = (uint8_t)((s[c] * sa + d[c] * da * (1 - sa)) / oa + 0.5f);
            d[3] = (uint8_t)(oa * 255 + 0.5f);
        }
    }
}

namespace {

void write_png(const std::string &path, const Picture &p, bool grey_alpha) {
    const int channels = grey_alpha ? 2 : 4;
    std::vector<uint8_t> rows((size_t)p.w * p.h * channels);
    for (size_t i = 0; i < (size_t)p.w * p.h; i++) {
        if (grey_alpha) {
            rows[2 * i] = p.px[4 * i];
            rows[2 * i + 1] = p.px[4 * i + 3];
        } else {
            for (int c = 0; c < 4; c++) rows[4 * i + c] = p.px[4 * i + c];
        }
    }
    std::string tmp = path + ".tmp";
    FILE *f = fopen(tmp.c_str(), "wb");
    if (!f) gen_fail("cannot write %s", tmp.c_str());
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (!png || !info || setjmp(png_jmpbuf(png))) gen_fail("cannot write %s", tmp.c_str());
    png_init_io(png, f);
    png_set_compression_level(png, 6);
    // No row filters: these pictures are mostly clear ground and flat letters, which
    // compress as well unfiltered and then decode markedly faster at start-up.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_IHDR(png, info, (png_uint_32)p.w, (png_uint_32)p.h, 8,
                 grey_alpha ? PNG_COLOR_TYPE_GRAY_ALPHA : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < p.h; y++) png_write_row(png, &rows[(size_t)y * p.w * channels]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (fclose(f) != 0) gen_fail("cannot write %s", tmp.c_str());
    if (rename(tmp.c_str(), path.c_str()) != 0) gen_fail("cannot write %s", path.c_str());
}

}  // namespace

void gen_write_png_rgba(const std::string &path, const Picture &p) { write_png(path, p, false); }
void gen_write_png_grey_alpha(const std::string &path, const Picture &p) { write_png(path, p, true); }

Picture gen_read_png(const std::string &path) {
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        gen_fail("cannot read %s: %s", path.c_str(), image.message);
    image.format = PNG_FORMAT_RGBA;
    Picture p;
    p.resize((int)image.width, (int)image.height);
    if (!png_image_finish_read(&image, nullptr, p.px.data(), 0, nullptr))
        gen_fail("cannot read %s: %s", path.c_str(), image.message);
    return p;
}

void gen_write_text(const std::string &path, const std::string &text) {
    std::string tmp = path + ".tmp";
    FILE *f = fopen(tmp.c_str(), "wb");
    if (!f) gen_fail("cannot write %s", tmp.c_str());
    bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = (fclose(f) == 0) && ok;
    if (!ok || rename(tmp.c_str(), path.c_str()) != 0) gen_fail("cannot write %s", path.c_str());
}

std::vector<uint32_t> gen_utf8_decode(const char *s) {
    std::vector<uint32_t> out;
    if (!g_utf8_validate(s, -1, nullptr)) gen_fail("a text is not valid UTF-8: \"%s\"", s);
    for (const char *p = s; *p; p = g_utf8_next_char(p)) out.push_back(g_utf8_get_char(p));
    return out;
}

std::string gen_utf8_encode(uint32_t c) {
    char buf[8];
    int n = g_unichar_to_utf8(c, buf);
    return std::string(buf, (size_t)n);
}
