// Kestrune text-picture generator: the languages' text atlases. Each string is cut at its
// placeholders into fragments (spaces kept); each fragment is shaped by Pango in the
// language's direction with its script's fonts and drawn white with a dark outline into a
// piece of fixed height and baseline with 8 pixels of margin either side; identical
// fragments are one piece; pieces are packed in order into a 2048-wide picture.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "gen_atlas.h"
#include "gen_steps.h"

namespace {

const double OUTLINE_SMALL = 3.5;
const double OUTLINE_LARGE = 5.0;

struct Item {
    int placeholder;   // 1.. for "{n}", 0 for a literal stretch
    std::string text;  // the literal stretch
};

// "{n}" with n = 1..4 is a placeholder; everything else is literal text.
std::vector<Item> split_placeholders(const char *s, const char *what) {
    std::vector<Item> items;
    std::string lit;
    for (const char *p = s; *p;) {
        if (p[0] == '{' && p[1] >= '0' && p[1] <= '9' && p[2] == '}') {
            int n = p[1] - '0';
            if (n < 1 || n > 4) gen_fail("%s: placeholder {%d} (only {1} to {4} can be drawn)", what, n);
            if (!lit.empty()) items.push_back({0, lit});
            lit.clear();
            items.push_back({n, ""});
            p += 3;
        } else {
            lit += *p++;
        }
    }
    if (!lit.empty()) items.push_back({0, lit});
    return items;
}

std::vector<int> placeholders_of(const char *s, const char *what) {
    std::vector<int> out;
    for (const Item &it : split_placeholders(s, what))
        if (it.placeholder) out.push_back(it.placeholder);
    std::sort(out.begin(), out.end());
    return out;
}

bool has_rtl_letter(const std::string &text) {
    for (uint32_t c : gen_utf8_decode(text.c_str()))
        if ((c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF))
            return true;
    return false;
}

// A right-to-left language's fragment is set right to left when it holds Hebrew or
// Arabic letters; one without (the Ukrainian banner, a lone "F11") keeps its own order,
// so its punctuation stays where its writers put it.
GenTextStyle style_of(const GenLanguage &lang, bool large, const std::string &text) {
    const GenScript &sc = *lang.script;
    return {sc.families, PANGO_WEIGHT_BOLD, large ? sc.px_large : sc.px_small, lang.pango_language,
            lang.rtl && has_rtl_letter(text)};
}

// The advance of a fragment in whole atlas pixels.
int measure(const GenLanguage &lang, bool large, const std::string &text, const char *what) {
    GenLine line;
    gen_layout_line(line, style_of(lang, large, text), text.c_str(), lang.script->families, what);
    return (int)lround(line.advance);
}

bool is_letter_text(const std::string &text) {
    for (uint32_t c : gen_utf8_decode(text.c_str()))
        if (g_unichar_isalpha(c)) return true;
    return false;
}

// Draws a fragment into its piece and checks it: nothing crosses the piece's edges (one
// pixel stays clear all round) and the letters stand on the piece's baseline.
void draw_piece(GenPiece &piece, const GenLanguage &lang, const char *what) {
    GenLine line;
    GenTextStyle style = style_of(lang, piece.large, piece.text);
    gen_layout_line(line, style, piece.text.c_str(), lang.script->families, what);
    gen_check_marks(style, piece.text.c_str(), lang.script->families, what);
    int advance = (int)lround(line.advance);
    if (getenv("GEN_TEXT_DEBUG"))
        fprintf(stderr, "%s %s above %.1f below %.1f (px %.0f) %s\n", lang.code, piece.large ? "L" : "S",
                line.baseline - line.ink_y, line.ink_y + line.ink_h - line.baseline, style.px,
                piece.text.c_str());
    piece.h = piece.large ? LARGE_H : SMALL_H;
    piece.baseline = piece.large ? LARGE_BASELINE : SMALL_BASELINE;
    double r = piece.large ? OUTLINE_LARGE : OUTLINE_SMALL;
    // The unrounded advance centred on the rounded one. Ink (with its outline) may reach
    // into the margins but must keep clear of the piece's edges: a glyph that swings
    // further out (a final Arabic tail, say) moves the text into the slack on the other
    // side, and where there is none the piece grows by what is missing.
    double x0 = PIECE_MARGIN + (advance - line.advance) / 2;
    const double clear = 1.5;
    double ink_l = x0 + line.ink_x - r, ink_r = x0 + line.ink_x + line.ink_w + r;
    double over_l = clear - ink_l, over_r = ink_r - (advance + 2 * PIECE_MARGIN - clear);
    if (over_l > 0 && over_r < 0) {
        double shift = fmin(over_l, -over_r);
        x0 += shift, over_l -= shift, over_r += shift;
    } else if (over_r > 0 && over_l < 0) {
        double shift = fmin(over_r, -over_l);
        x0 -= shift, over_r -= shift, over_l += shift;
    }
    int grow_l = over_l > 0 ? (int)ceil(over_l) : 0, grow_r = over_r > 0 ? (int)ceil(over_r) : 0;
    x0 += grow_l;
    piece.w = advance + grow_l + grow_r + 2 * PIECE_MARGIN;
    if (getenv("GEN_TEXT_DEBUG") && grow_l + grow_r)
        fprintf(stderr, "%s: \"%s\" grows by %d + %d pixels\n", what, piece.text.c_str(), grow_l, grow_r);
    const int pad = 40;
    cairo_surface_t *surf = gen_surface(piece.w + 2 * pad, piece.h + 2 * pad);
    cairo_t *cr = cairo_create(surf);
    x0 += pad;
    cairo_move_to(cr, x0, pad + piece.baseline - line.baseline);
    gen_line_path(cr, line);
    gen_outline_and_fill(cr, r);
    cairo_destroy(cr);
    Picture p = gen_picture_from_surface(surf);
    cairo_surface_destroy(surf);
    if (gen_ink_outside(p, pad + 1, pad + 1, piece.w - 2, piece.h - 2)) {
        int top = p.h, bottom = -1, left = p.w, right = -1;
        for (int y = 0; y < p.h; y++)
            for (int x = 0; x < p.w; x++)
                if (p.at(x, y)[3]) {
                    top = std::min(top, y), bottom = std::max(bottom, y);
                    left = std::min(left, x), right = std::max(right, x);
                }
        gen_fail("%s: \"%s\" is clipped by its %d x %d piece (ink from %d,%d to %d,%d)", what, piece.text.c_str(),
                 piece.w, piece.h, left - pad, top - pad, right - pad, bottom - pad);
    }
    // The baseline: in a share of the ink columns the lowest white pixel lies on it
    // (descenders, tails and marks below the line are the rest). CJK characters sit on
    // their own em box, so those are only held inside the piece.
    bool cjk = strstr(lang.script->families, "CJK") != nullptr;
    if (is_letter_text(piece.text) && !cjk) {
        int columns = 0, on_baseline = 0;
        for (int x = 0; x < p.w; x++) {
            int last = -1;
            for (int y = 0; y < p.h; y++)
                if (p.at(x, y)[3] > 200 && p.at(x, y)[0] > 200) last = y - pad;
            if (last < 0) continue;
            columns++;
            if (last >= piece.baseline - 3 && last <= piece.baseline + 1) on_baseline++;
        }
        if (on_baseline < 2 || on_baseline * 10 < columns)
            gen_fail("%s: the baseline of \"%s\" is off (only %d of %d ink columns end on row %d)", what,
                     piece.text.c_str(), on_baseline, columns, piece.baseline);
    }
    piece.pic.resize(piece.w, piece.h);
    gen_copy(piece.pic, 0, 0, p, pad, pad, piece.w, piece.h);
}

// A fragment too wide for the atlas is cut after a space into chunks that fit, in
// reading order; a fragment with no such space cannot be stored.
std::vector<std::string> fit_fragment(const GenLanguage &lang, bool large, const std::string &text,
                                      const char *what) {
    std::vector<std::string> chunks;
    std::string rest = text;
    const int limit = ATLAS_W - 2 * PIECE_MARGIN;
    while (measure(lang, large, rest, what) > limit) {
        size_t best = std::string::npos;
        for (size_t i = 1; i < rest.size(); i++) {
            if (rest[i - 1] != ' ' || rest[i] == ' ') continue;
            if (measure(lang, large, rest.substr(0, i), what) <= limit) best = i;
            else break;
        }
        if (best == std::string::npos)
            gen_fail("%s: \"%s\" is wider than the atlas and has no space to break at", what, rest.c_str());
        chunks.push_back(rest.substr(0, best));
        rest = rest.substr(best);
    }
    chunks.push_back(rest);
    return chunks;
}

}  // namespace

void gen_build_atlas(GenAtlas &atlas, const GenLanguage &lang) {
    atlas.lang = &lang;
    const GenLanguage &english = gen_languages[5];
    GenPiece empty;
    empty.w = empty.h = 1;
    empty.pic.resize(1, 1);
    atlas.pieces.push_back(empty);
    std::map<std::pair<std::string, bool>, int> known;

    auto add_run = [&](int slot, bool large) -> uint16_t {
        uint16_t start = (uint16_t)atlas.runs.size();
        char what[64];
        snprintf(what, sizeof what, "%s, slot %d (%s)", lang.code, slot, large ? "large" : "small");
        if (slot == 0) {
            atlas.runs.push_back(1);  // the title: the empty piece only
        } else {
            for (const Item &it : split_placeholders(lang.strings[slot], what)) {
                if (it.placeholder) {
                    atlas.runs.push_back((int16_t)-it.placeholder);
                    continue;
                }
                for (const std::string &chunk : fit_fragment(lang, large, it.text, what)) {
                    auto key = std::make_pair(chunk, large);
                    auto found = known.find(key);
                    int index;
                    if (found != known.end()) {
                        index = found->second;
                    } else {
                        GenPiece piece;
                        piece.text = chunk;
                        piece.large = large;
                        draw_piece(piece, lang, what);
                        index = (int)atlas.pieces.size();
                        atlas.pieces.push_back(std::move(piece));
                        known[key] = index;
                    }
                    atlas.runs.push_back((int16_t)(index + 1));
                }
            }
        }
        atlas.runs.push_back(0);
        return start;
    };

    for (int slot = 0; slot < GEN_SLOTS; slot++) {
        char what[64];
        snprintf(what, sizeof what, "%s, slot %d", lang.code, slot);
        if (placeholders_of(lang.strings[slot], what) != placeholders_of(english.strings[slot], what))
            gen_fail("%s: the placeholders differ from English's (\"%s\" against \"%s\")", what, lang.strings[slot],
                     english.strings[slot]);
        atlas.offsets[2 * slot] = slot == 0 ? 0xFFFF : add_run(slot, false);
        atlas.offsets[2 * slot + 1] = gen_slot_has_large(slot) ? add_run(slot, true) : 0xFFFF;
    }
    if (atlas.pieces.size() > 32000) gen_fail("%s: too many pieces", lang.code);

    // Packing: left to right with one pixel between pieces; a piece that does not fit in
    // the rest of the row starts a new row one pixel below the row's tallest piece.
    int x = 0, y = 0, row_h = 0;
    for (GenPiece &p : atlas.pieces) {
        if (x + p.w > ATLAS_W) {
            y += row_h + 1;
            x = 0;
            row_h = 0;
        }
        p.x = x;
        p.y = y;
        x += p.w + 1;
        row_h = std::max(row_h, p.h);
    }
    int height = y + row_h;
    if (height > 32767) gen_fail("%s: the atlas is too tall", lang.code);
    atlas.picture.resize(ATLAS_W, height);
    for (const GenPiece &p : atlas.pieces) gen_copy(atlas.picture, p.x, p.y, p.pic, 0, 0, p.w, p.h);
}

void gen_probe(const char *code, bool large, const char *text) {
    const GenLanguage *lang = nullptr;
    for (const GenLanguage &l : gen_languages)
        if (strcmp(l.code, code) == 0) lang = &l;
    if (!lang) gen_fail("no language \"%s\"", code);
    char what[64];
    snprintf(what, sizeof what, "%s, probe (%s)", code, large ? "large" : "small");
    gen_utf8_decode(text);
    for (const std::string &chunk : fit_fragment(*lang, large, text, what)) {
        GenPiece piece;
        piece.text = chunk;
        piece.large = large;
        draw_piece(piece, *lang, what);
        printf("piece %d x %d: \"%s\"\n", piece.w, piece.h, chunk.c_str());
    }
}

void gen_text_atlases(const std::string &outdir, const std::string &fontdir) {
    GenBitmapFont font;
    gen_read_bitmap_font(font, fontdir);
    std::string src =
        "// Kestrune: the fragment tables of the 32 text atlases, written by tools/gen_text with\n"
        "// the atlas pictures. Do not edit.\n#include \"text/text_tables.h\"\n";
    for (const GenLanguage &lang : gen_languages) {
        GenAtlas atlas;
        gen_build_atlas(atlas, lang);
        gen_write_png_grey_alpha(outdir + "/text_atlas_" + lang.code + ".png", atlas.picture);
        gen_review_sheet(atlas, font, outdir + "/review/text_" + lang.code + ".png");

        std::string c = lang.code;
        src += "\n// " + c + ": " + std::to_string(atlas.pieces.size()) + " pieces, atlas 2048 x " +
               std::to_string(atlas.picture.h) + "\n";
        src += "extern const int16_t text_runs_" + c + "[] = {";
        for (size_t i = 0; i < atlas.runs.size(); i++) {
            if (i % 16 == 0) src += "\n   ";
            src += " " + std::to_string(atlas.runs[i]) + ",";
        }
        src += "\n};\nextern const uint16_t text_run_offsets_" + c + "[66] = {";
        for (int i = 0; i < 2 * GEN_SLOTS; i++) {
            if (i % 12 == 0) src += "\n   ";
            src += " " + std::to_string(atlas.offsets[i]) + ",";
        }
        src += "\n};\nextern const AtlasPiece text_pieces_" + c + "[] = {\n";
        for (const GenPiece &p : atlas.pieces) {
            char buf[96];
            snprintf(buf, sizeof buf, "    {%d, %d, %d, %d, %d},\n", p.x, p.y, p.w, p.h, p.baseline);
            src += buf;
        }
        src += "};\n";
    }
    gen_write_text(outdir + "/text_tables.cpp", src);
}
