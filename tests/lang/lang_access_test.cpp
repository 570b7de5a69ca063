// The accessors on the current language, the ring of placeholder arguments and the
// choice between a language's own string and the English one.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <set>
#include <string>

#include "text/lang_font_scan.h"
#include "text/text.h"

namespace {

const int kEnglish = 5;

class LangAccess : public ::testing::Test {
protected:
    void SetUp() override { lang_current = kEnglish; }
    void TearDown() override { lang_current = kEnglish; }
};

TEST_F(LangAccess, SetAcceptsOnlyValidIndices) {
    EXPECT_EQ(lang_get(), kEnglish);
    lang_set(31);
    EXPECT_EQ(lang_get(), 31);
    EXPECT_STREQ(lang_code(lang_get()), "zh");
    lang_set(32);
    EXPECT_EQ(lang_get(), 31);
    lang_set(static_cast<unsigned>(-1));
    EXPECT_EQ(lang_get(), 31);
    lang_set(0u - 32u);
    EXPECT_EQ(lang_get(), 31);
    lang_set(0);
    EXPECT_EQ(lang_get(), 0);
    EXPECT_STREQ(lang_code(0), "da");
}

TEST_F(LangAccess, CodeTitleAndRuFlag) {
    EXPECT_STREQ(lang_code(12), "pt_BR");
    // An index outside the table is a caller's fault; it still names a language.
    EXPECT_STREQ(lang_code(-1), "en");
    EXPECT_STREQ(lang_code(32), "en");
    for (unsigned i = 0; i < LANG_COUNT; i++) {
        lang_set(i);
        EXPECT_STREQ(lang_title(), "Kestrune");
    }
    // A bad index written straight into the global falls back to English.
    lang_current = 99;
    EXPECT_STREQ(lang_title(), "Kestrune");
    EXPECT_STREQ(lang_text_or_english(STR_LANGUAGE_NAME), "English");

    int32_t saved = lang_ru_seen;
    lang_ru_seen = 1;
    EXPECT_NE(lang_ru_flag(), 0);
    lang_set(3);
    EXPECT_NE(lang_ru_flag(), 0) << "changing the language keeps the flag";
    lang_ru_seen = 0;
    EXPECT_EQ(lang_ru_flag(), 0);
    lang_ru_seen = saved;
}

TEST(LangArgRing, SixteenDistinctBuffersThenTheFirstAgain) {
    const char *made[17];
    std::set<const char *> distinct;
    for (int i = 0; i < 16; i++) {
        made[i] = lang_int_arg(1000 + i);
        distinct.insert(made[i]);
    }
    EXPECT_EQ(distinct.size(), 16u);
    for (int i = 0; i < 16; i++) EXPECT_EQ(std::string(made[i]), std::to_string(1000 + i));

    made[16] = lang_slot_arg(7);
    EXPECT_EQ(made[16], made[0]);
    EXPECT_STREQ(made[0], "\x01" "7");
    for (int i = 1; i < 16; i++) EXPECT_EQ(std::string(made[i]), std::to_string(1000 + i)) << "buffer " << i;

    // Both kinds share the ring: one of each in turn never reuses a live buffer.
    const char *a = lang_int_arg(1);
    const char *b = lang_slot_arg(2);
    EXPECT_NE(a, b);
    EXPECT_STREQ(a, "1");
}

TEST(LangArgRing, Formats) {
    const char *s = lang_slot_arg(2);
    ASSERT_EQ(std::strlen(s), 2u);
    EXPECT_EQ(static_cast<unsigned char>(s[0]), 0x01);
    EXPECT_EQ(s[1], '2');
    EXPECT_EQ(s[2], '\0');
    EXPECT_STREQ(lang_slot_arg(32), "\x01" "32");
    EXPECT_STREQ(lang_slot_arg(-1), "\x01-1");

    EXPECT_STREQ(lang_int_arg(0), "0");
    EXPECT_STREQ(lang_int_arg(-15), "-15");
    EXPECT_STREQ(lang_int_arg(INT_MIN), "-2147483648");
    EXPECT_STREQ(lang_int_arg(INT_MAX), "2147483647");
}

TEST(LangFontScan, AcceptsTheFontsBlocksOnly) {
    EXPECT_TRUE(lang_font_covers(""));
    EXPECT_TRUE(lang_font_covers("plain ASCII {1}"));
    EXPECT_TRUE(lang_font_covers("it\u2019s"));
    EXPECT_TRUE(lang_font_covers("a \u2013 b"));
    EXPECT_FALSE(lang_font_covers("a \u2014 b"));
    EXPECT_FALSE(lang_font_covers("\u201Cquoted\u201D"));
    // Edges of the blocks: Latin Extended-B, Greek, Cyrillic, GHE WITH UPTURN, Vietnamese.
    EXPECT_TRUE(lang_font_covers("\u024F\u0370\u03FF\u0400\u045F\u0490\u0491\u1EA0\u1EF9"));
    EXPECT_FALSE(lang_font_covers("\u0250"));
    EXPECT_FALSE(lang_font_covers("\u0460"));
    EXPECT_FALSE(lang_font_covers("\u048F"));
    EXPECT_FALSE(lang_font_covers("\u0492"));
    EXPECT_FALSE(lang_font_covers("\u1E9F"));
    EXPECT_FALSE(lang_font_covers("\u1EFA"));
    EXPECT_FALSE(lang_font_covers("\u20AC"));
    EXPECT_FALSE(lang_font_covers("שלום"));
    EXPECT_FALSE(lang_font_covers(nullptr));
}

TEST(LangFontScan, RejectsBrokenAndFourByteSequences) {
    EXPECT_FALSE(lang_font_covers("\xF0\x9F\x98\x80"));  // an emoji
    EXPECT_FALSE(lang_font_covers("ok \x80"));            // stray continuation byte
    EXPECT_FALSE(lang_font_covers("\xC3"));               // cut off by the end
    EXPECT_FALSE(lang_font_covers("ab\xE2\x80"));
    EXPECT_FALSE(lang_font_covers("\xE2"));
    EXPECT_FALSE(lang_font_covers("\xFF"));
    // Followers are only tested for being present; the decoded point decides.
    EXPECT_TRUE(lang_font_covers("\xC3\x29"));  // decodes to U+00E9
    EXPECT_FALSE(lang_font_covers("\xE2\x80\x94x"));
    EXPECT_TRUE(lang_font_covers("\xE2\x80\x93x"));
}

// Languages whose shipped strings the bitmap font can draw in full.
bool latin_greek_cyrillic(int i) { return i <= 19 || i == 27 || i == 28; }

TEST_F(LangAccess, TextOrEnglishWithTheShippedStrings) {
    const char *const *en = lang_records[kEnglish].strings;
    for (int i = 0; i < LANG_COUNT; i++) {
        lang_set(static_cast<unsigned>(i));
        const char *const *own = lang_records[i].strings;
        for (int slot = 0; slot < LANG_SLOTS; slot++) {
            SCOPED_TRACE(std::string(lang_records[i].code) + " slot " + std::to_string(slot));
            const char *got = lang_text_or_english(slot);
            if (latin_greek_cyrillic(i) || slot == STR_UKRAINE_BANNER)
                EXPECT_EQ(got, own[slot]) << got;
            else
                EXPECT_STREQ(got, en[slot]);
        }
    }
    lang_set(kEnglish);
    EXPECT_STREQ(lang_text_or_english(STR_EGG_KINDS), en[STR_EGG_KINDS]) << "U+2013 passes";
    EXPECT_STREQ(lang_text_or_english(-1), "");
    EXPECT_STREQ(lang_text_or_english(LANG_SLOTS), "");
}

}  // namespace
