// Kestrune: text drawing when a language's pictures cannot be decoded. This program
// brings its own language table (the linker takes it instead of the game's): English's
// strings and fragment tables with damaged atlas and title bytes.
#include <gtest/gtest.h>

#include <cstring>

#include "test_canvas.h"
#include "text/lang_strings.h"
#include "text/text_tables.h"

namespace {
const unsigned char damaged[16] = {0x89, 'P', 'N', 'G', 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
}

#define BROKEN(code) {#code, 0, damaged, sizeof damaged, damaged, sizeof damaged, \
    text_runs_en, text_run_offsets_en, text_pieces_en, lang_strings_en}
extern const LanguageRecord lang_records[LANG_COUNT] = {
    BROKEN(da), BROKEN(sv), BROKEN(nb), BROKEN(fi), BROKEN(is), BROKEN(en), BROKEN(de), BROKEN(nl),
    BROKEN(fr), BROKEN(it), BROKEN(es), BROKEN(pt), BROKEN(pt_BR), BROKEN(pl), BROKEN(cs), BROKEN(hu),
    BROKEN(ro), BROKEN(el), BROKEN(tr), BROKEN(uk), BROKEN(he), BROKEN(ar), BROKEN(fa), BROKEN(ur),
    BROKEN(hi), BROKEN(bn), BROKEN(th), BROKEN(vi), BROKEN(id), BROKEN(ko), BROKEN(ja), BROKEN(zh),
};

namespace {

int failed_loads = 0;

void count_log(void *, int, SDL_LogPriority, const char *message) {
    if (strncmp(message, "Kunne ikke læse indlejret billede: ", 35) == 0) failed_loads++;
}

class MissingPictures : public testing::Test {
protected:
    void SetUp() override {
        canvas_clear();
        SDL_LogSetOutputFunction(count_log, nullptr);
        failed_loads = 0;
    }
};

}  // namespace

TEST_F(MissingPictures, AtlasDrawsNoPiecesButNumbersAndWidthsStandAndItIsTriedAgain) {
    lang_set(5);
    TextItem items[16];
    float w, f;
    const char *args[1] = {"1250"};
    ASSERT_EQ(text_layout(STR_POINTS, FONT_SMALL, args, 1, items, &w, &f), 2);
    EXPECT_EQ(text_draw(STR_POINTS, 100, 100, FONT_SMALL, ALIGN_LEFT, 0xFFFFFFFF, "1250"), (int)w);
    EXPECT_EQ(failed_loads, 1);
    // The number is there; the piece after it is not.
    EXPECT_FALSE(canvas_ink(90, 90, (int)items[0].width, 40).empty());
    EXPECT_TRUE(canvas_ink(100 + (int)items[0].width + 2, 80, (int)items[1].width + 20, 60).empty());
    EXPECT_EQ(text_draw(STR_PAUSED, 500, 300, FONT_LARGE, ALIGN_CENTRE, 0xFFFFFFFF),
              (lang_records[5].pieces[lang_records[5].runs[lang_records[5].run_offsets[2 * STR_PAUSED + 1]] - 1].w - 16) / 2);
    EXPECT_EQ(failed_loads, 2);
    EXPECT_TRUE(canvas_ink(0, 280, 1000, 100).empty());
}

TEST_F(MissingPictures, SlotsOutsideTheTableLoadNothing) {
    lang_set(3);
    EXPECT_EQ(text_draw(33, 100, 100, FONT_SMALL, ALIGN_LEFT, 0xFFFFFFFF), 0);
    EXPECT_EQ(text_draw(-1, 100, 100, FONT_SMALL, ALIGN_LEFT, 0xFFFFFFFF), 0);
    EXPECT_EQ(text_draw_scaled(40, 100, 100, ALIGN_LEFT, 0xFFFFFFFF, 0, 1.0f), 0);
    EXPECT_EQ(failed_loads, 0);
    text_draw(STR_PAUSED, 100, 100, FONT_SMALL, ALIGN_LEFT, 0xFFFFFFFF);
    EXPECT_EQ(failed_loads, 1);
}

TEST_F(MissingPictures, TitleMeasuresNothingAndIsNotRetriedUntilTheLanguageChanges) {
    lang_set(1);
    EXPECT_EQ(text_draw_title(-2000, 0, 104), 0);
    EXPECT_EQ(text_draw_title(100, 100, 104), 0);
    EXPECT_EQ(failed_loads, 1);
    EXPECT_TRUE(canvas_ink(0, 0, 1000, 736).empty());
    lang_set(2);
    EXPECT_EQ(text_draw_title(100, 100, 104), 0);
    EXPECT_EQ(failed_loads, 2);
}
