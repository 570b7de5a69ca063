// Kestrune: the text atlases and fragment tables of all 32 languages, as the build made
// them: runs, run offsets, pieces, the pictures' format and packing.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "text/text.h"

namespace {

const int EN = 5;
const std::set<int> LARGE_SLOTS = {0, 8, 10, 12, 13, 14, 16, 17, 18, 21, 26, 28};

// The items of a run, without the closing 0.
std::vector<int> run_items(const LanguageRecord &r, int slot, int form) {
    std::vector<int> out;
    uint16_t off = r.run_offsets[2 * slot + form];
    if (off == 0xFFFF) return out;
    for (const int16_t *p = r.runs + off; *p; p++) out.push_back(*p);
    return out;
}

// The number of pieces: the largest piece item of any run.
int piece_count(const LanguageRecord &r) {
    int n = 0;
    for (int slot = 0; slot < LANG_SLOTS; slot++)
        for (int form = 0; form < 2; form++)
            for (int e : run_items(r, slot, form)) n = std::max(n, e);
    return n;
}

std::multiset<int> placeholders(const std::vector<int> &run) {
    std::multiset<int> out;
    for (int e : run)
        if (e < 0) out.insert(e);
    return out;
}

class EveryLanguage : public testing::TestWithParam<int> {};

}  // namespace

TEST_P(EveryLanguage, RunOffsetsFollowTheSlotTable) {
    const LanguageRecord &r = lang_records[GetParam()];
    ASSERT_NE(r.runs, nullptr);
    ASSERT_NE(r.run_offsets, nullptr);
    EXPECT_EQ(r.run_offsets[0], 0xFFFF) << "the title has no small form";
    EXPECT_EQ(r.run_offsets[1], 0) << "the pool begins with the title's large run";
    EXPECT_EQ(run_items(r, 0, 1), std::vector<int>{1}) << "the title's run is the empty piece only";
    // The runs lie one after another in slot order, small before large.
    size_t next = 0;
    for (int slot = 0; slot < LANG_SLOTS; slot++) {
        if (slot > 0) {
            ASSERT_NE(r.run_offsets[2 * slot], 0xFFFF) << slot;
            EXPECT_EQ(r.run_offsets[2 * slot], next) << slot;
            next += run_items(r, slot, 0).size() + 1;
        }
        if (LARGE_SLOTS.count(slot)) {
            ASSERT_NE(r.run_offsets[2 * slot + 1], 0xFFFF) << slot;
            EXPECT_EQ(r.run_offsets[2 * slot + 1], next) << slot;
            next += run_items(r, slot, 1).size() + 1;
        } else {
            EXPECT_EQ(r.run_offsets[2 * slot + 1], 0xFFFF) << slot;
        }
    }
}

TEST_P(EveryLanguage, RunsHaveEnglishsPlaceholdersAndNameExistingPieces) {
    const LanguageRecord &r = lang_records[GetParam()];
    const LanguageRecord &en = lang_records[EN];
    int pieces = piece_count(r);
    std::vector<bool> used((size_t)pieces, false);
    for (int slot = 0; slot < LANG_SLOTS; slot++)
        for (int form = 0; form < 2; form++) {
            std::vector<int> run = run_items(r, slot, form);
            EXPECT_EQ(placeholders(run), placeholders(run_items(en, slot, form))) << "slot " << slot << " form " << form;
            EXPECT_LE(run.size(), 16u) << "slot " << slot;
            if (slot > 0 && !(form == 1 && !LARGE_SLOTS.count(slot))) {
                EXPECT_FALSE(run.empty()) << slot;
            }
            for (int e : run) {
                EXPECT_GE(e, -4);
                if (e > 0) {
                    used[(size_t)e - 1] = true;
                    // Small runs use small pieces, large runs large ones.
                    EXPECT_EQ(r.pieces[e - 1].h, e == 1 ? 1 : (form ? 116 : 68)) << "slot " << slot;
                }
            }
            // The title's empty piece appears nowhere else.
            if (slot > 0) {
                for (int e : run) EXPECT_NE(e, 1) << "slot " << slot;
            }
        }
    for (int i = 0; i < pieces; i++) EXPECT_TRUE(used[(size_t)i]) << "piece " << i << " is stored but never drawn";
}

TEST_P(EveryLanguage, PiecesArePackedInsideTheAtlasWithTheirHeightsAndBaselines) {
    const LanguageRecord &r = lang_records[GetParam()];
    int w = 0, h = 0, comp = 0;
    ASSERT_TRUE(stbi_info_from_memory(r.atlas_png, (int)r.atlas_size, &w, &h, &comp));
    EXPECT_EQ(w, 2048);
    EXPECT_EQ(comp, 2) << "grey and alpha";
    const AtlasPiece &zero = r.pieces[0];
    EXPECT_EQ(zero.x, 0);
    EXPECT_EQ(zero.y, 0);
    EXPECT_EQ(zero.w, 1);
    EXPECT_EQ(zero.h, 1);
    EXPECT_EQ(zero.baseline, 0);
    int n = piece_count(r);
    int x = 0, y = 0, row_h = 0;
    for (int i = 0; i < n; i++) {
        const AtlasPiece &p = r.pieces[i];
        if (i > 0) {
            EXPECT_TRUE((p.h == 68 && p.baseline == 44) || (p.h == 116 && p.baseline == 80)) << i;
            EXPECT_GT(p.w, 16) << i;
        }
        // Each piece fits the atlas, even the longest strings (they are split).
        EXPECT_LE(p.x + p.w, 2048) << i;
        if (x + p.w > 2048) {
            y += row_h + 1;
            x = 0;
            row_h = 0;
        }
        EXPECT_EQ(p.x, x) << i;
        EXPECT_EQ(p.y, y) << i;
        x += p.w + 1;
        row_h = std::max(row_h, (int)p.h);
    }
    EXPECT_EQ(h, y + row_h);
}

// White letters with a dark outline on a clear ground; each piece keeps its outermost
// pixels clear, and no two pieces hold the same picture (identical fragments are one).
TEST_P(EveryLanguage, PiecePicturesAreOutlinedWhiteTextAndStoredOnce) {
    const LanguageRecord &r = lang_records[GetParam()];
    int w = 0, h = 0, comp = 0;
    unsigned char *px = stbi_load_from_memory(r.atlas_png, (int)r.atlas_size, &w, &h, &comp, 2);
    ASSERT_NE(px, nullptr);
    auto at = [&](int x, int y) { return px + ((size_t)y * w + x) * 2; };
    int n = piece_count(r);
    for (int i = 1; i < n; i++) {
        const AtlasPiece &p = r.pieces[i];
        bool white = false, dark = false, edge = false;
        for (int y = 0; y < p.h; y++)
            for (int x = 0; x < p.w; x++) {
                const unsigned char *q = at(p.x + x, p.y + y);
                if (q[1] == 255 && q[0] == 255) white = true;
                if (q[1] == 255 && q[0] <= 20) dark = true;
                if (q[1] && (x == 0 || y == 0 || x == p.w - 1 || y == p.h - 1)) edge = true;
            }
        EXPECT_EQ(white, dark) << "piece " << i;
        EXPECT_FALSE(edge) << "piece " << i;
        for (int j = 1; j < i; j++) {
            const AtlasPiece &o = r.pieces[j];
            if (o.w != p.w || o.h != p.h) continue;
            bool same = true;
            for (int y = 0; y < p.h && same; y++) same = memcmp(at(p.x, p.y + y), at(o.x, o.y + y), (size_t)p.w * 2) == 0;
            EXPECT_FALSE(same) << "pieces " << j << " and " << i << " are the same";
        }
    }
    // Between the pieces the atlas is clear.
    std::vector<bool> covered((size_t)w * h, false);
    for (int i = 0; i < n; i++)
        for (int y = 0; y < r.pieces[i].h; y++)
            for (int x = 0; x < r.pieces[i].w; x++) covered[(size_t)(r.pieces[i].y + y) * w + r.pieces[i].x + x] = true;
    int stray = 0;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            if (!covered[(size_t)y * w + x] && at(x, y)[1]) stray++;
    EXPECT_EQ(stray, 0);
    stbi_image_free(px);
}

INSTANTIATE_TEST_SUITE_P(Languages, EveryLanguage, testing::Range(0, (int)LANG_COUNT),
                         [](const testing::TestParamInfo<int> &info) {
                             return std::string(lang_records[info.param].code);
                         });

TEST(TextTables, EnglishSharesItsPointsFragmentAndSplitsItsWidestString) {
    const LanguageRecord &en = lang_records[EN];
    // "{1} points" and "Bonus: {1} points" end in the same piece.
    std::vector<int> points = run_items(en, 14, 0), bonus = run_items(en, 27, 0);
    ASSERT_EQ(points.size(), 2u);
    ASSERT_EQ(bonus.size(), 3u);
    EXPECT_EQ(points[0], -1);
    EXPECT_EQ(bonus[1], -1);
    EXPECT_EQ(points[1], bonus[2]);
    // The egg-kinds line is wider than the atlas: it is stored as pieces that fit, one
    // after another, together as wide as the whole line.
    std::vector<int> kinds = run_items(en, 5, 0);
    ASSERT_GE(kinds.size(), 2u);
    int advance = 0;
    for (int e : kinds) {
        ASSERT_GT(e, 0);
        advance += en.pieces[e - 1].w - 16;
    }
    EXPECT_GT(advance, 2048 - 16);
}

// Title pictures: 208 high, RGBA, in the logo's look: green letters with a light gloss, a
// cream rim, a dark outline and a dark soft shadow on a clear ground; one picture for
// every language written in Latin letters, its own for every other script (Arabic and
// Persian write the name with the same letter shapes: kaf and keheh differ only at a
// word's end).
TEST(TitlePictures, AreOutlinedGreenNamesOnAClearGround) {
    const std::set<std::string> latin = {"da", "sv", "nb", "fi", "is", "en", "de", "nl", "fr", "it",
                                         "es", "pt", "pt_BR", "pl", "cs", "hu", "ro", "tr", "vi", "id"};
    const LanguageRecord &en = lang_records[EN];
    for (int i = 0; i < LANG_COUNT; i++) {
        const LanguageRecord &r = lang_records[i];
        int w = 0, h = 0, comp = 0;
        unsigned char *px = stbi_load_from_memory(r.title_png, (int)r.title_size, &w, &h, &comp, 4);
        ASSERT_NE(px, nullptr) << r.code;
        EXPECT_EQ(h, 208) << r.code;
        EXPECT_EQ(comp, 4) << r.code;
        bool green = false, gloss = false, cream = false, outline = false, shadow = false, edge = false;
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) {
                const unsigned char *p = px + ((size_t)y * w + x) * 4;
                if (p[3] == 255 && p[1] > p[0] + 40 && p[1] > p[2] + 60) green = true;
                if (p[3] == 255 && p[1] >= 215 && p[1] > p[0] + 10 && p[1] > p[2] + 20) gloss = true;
                if (p[3] == 255 && p[0] > 240 && p[1] > 225 && p[2] > 185 && p[0] > p[2]) cream = true;
                if (p[3] == 255 && p[0] < 70 && p[1] < 45 && p[2] < 40 && p[0] > p[2]) outline = true;
                if (p[3] > 20 && p[3] < 200 && p[0] < 40 && p[1] < 40 && p[2] < 40) shadow = true;
                if (p[3] && (x == 0 || y == 0 || x == w - 1 || y == h - 1)) edge = true;
            }
        EXPECT_TRUE(green) << r.code;
        EXPECT_TRUE(gloss) << r.code;
        EXPECT_TRUE(cream) << r.code;
        EXPECT_TRUE(outline) << r.code;
        EXPECT_TRUE(shadow) << r.code;
        EXPECT_FALSE(edge) << r.code;
        stbi_image_free(px);
        bool same_as_english = r.title_size == en.title_size && memcmp(r.title_png, en.title_png, en.title_size) == 0;
        EXPECT_EQ(same_as_english, latin.count(r.code) == 1) << r.code;
        for (int j = 0; j < i; j++) {
            const LanguageRecord &o = lang_records[j];
            if (latin.count(r.code) || latin.count(o.code)) continue;
            if (std::string(o.code) == "ar" && std::string(r.code) == "fa") continue;
            EXPECT_FALSE(o.title_size == r.title_size && memcmp(o.title_png, r.title_png, r.title_size) == 0)
                << o.code << " and " << r.code;
        }
    }
}

// Every title stands about as large as the others: as wide as half the Latin one at
// least. Only Hindi and Bengali are narrower, their height taken by the marks above and
// below their letters.
TEST(TitlePictures, AreFullSizeWordsInEveryScript) {
    int en_w = 0, h = 0, comp = 0;
    ASSERT_TRUE(stbi_info_from_memory(lang_records[EN].title_png, (int)lang_records[EN].title_size, &en_w, &h, &comp));
    for (int i = 0; i < LANG_COUNT; i++) {
        const LanguageRecord &r = lang_records[i];
        int w = 0;
        ASSERT_TRUE(stbi_info_from_memory(r.title_png, (int)r.title_size, &w, &h, &comp)) << r.code;
        const std::string code = r.code;
        EXPECT_GE(w, code == "hi" || code == "bn" ? en_w / 3 : en_w / 2) << r.code;
    }
}
