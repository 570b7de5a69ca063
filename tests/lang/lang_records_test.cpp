// The 32 language records and the strings they carry: the table itself, and the rules
// every translation must keep (placeholders, names, layout hints, valid UTF-8).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "text/text.h"

namespace {

struct Expected {
    const char *code;
    uint32_t rtl;
    const char *own_name;
};

const Expected kLanguages[LANG_COUNT] = {
    {"da", 0, "Dansk"},         {"sv", 0, "Svenska"},       {"nb", 0, "Norsk"},
    {"fi", 0, "Suomi"},         {"is", 0, "Íslenska"},      {"en", 0, "English"},
    {"de", 0, "Deutsch"},       {"nl", 0, "Nederlands"},    {"fr", 0, "Français"},
    {"it", 0, "Italiano"},      {"es", 0, "Español"},       {"pt", 0, "Português"},
    {"pt_BR", 0, "Português (Brasil)"}, {"pl", 0, "Polski"}, {"cs", 0, "Čeština"},
    {"hu", 0, "Magyar"},        {"ro", 0, "Română"},        {"el", 0, "Ελληνικά"},
    {"tr", 0, "Türkçe"},        {"uk", 0, "Українська"},    {"he", 1, "עברית"},
    {"ar", 1, "العربية"},       {"fa", 1, "فارسی"},         {"ur", 1, "اردو"},
    {"hi", 0, "हिन्दी"},         {"bn", 0, "বাংলা"},          {"th", 0, "ไทย"},
    {"vi", 0, "Tiếng Việt"},    {"id", 0, "Bahasa Indonesia"}, {"ko", 0, "한국어"},
    {"ja", 0, "日本語"},         {"zh", 0, "中文"},
};

const char *const kEnDash = "\u2013";

// The "{n}" placeholders of s, sorted, so a translation may reorder them.
std::vector<std::string> placeholders(const char *s) {
    std::vector<std::string> found;
    for (const char *p = s; (p = std::strchr(p, '{')) != nullptr; p++) {
        const char *end = std::strchr(p, '}');
        found.push_back(end ? std::string(p, end + 1) : std::string(p));
    }
    std::sort(found.begin(), found.end());
    return found;
}

// Strict UTF-8: whole sequences, shortest forms, no surrogates, nothing past U+10FFFF.
bool valid_utf8(const char *s) {
    const unsigned char *p = reinterpret_cast<const unsigned char *>(s);
    while (*p) {
        unsigned b = *p, len, cp;
        if (b < 0x80) { p++; continue; }
        if ((b & 0xE0) == 0xC0) { len = 2; cp = b & 0x1F; }
        else if ((b & 0xF0) == 0xE0) { len = 3; cp = b & 0x0F; }
        else if ((b & 0xF8) == 0xF0) { len = 4; cp = b & 0x07; }
        else return false;
        for (unsigned i = 1; i < len; i++) {
            if ((p[i] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        static const unsigned kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        p += len;
    }
    return true;
}

// Languages written in Latin letters: da..ro, tr, vi, id.
bool latin_script(int i) { return i <= 16 || i == 18 || i == 27 || i == 28; }
// Languages whose every string the bitmap font can draw: the Latin ones, Greek, Ukrainian.
bool in_font_script(int i) { return i <= 19 || i == 27 || i == 28; }

int count(const char *s, const char *needle) {
    int n = 0;
    for (const char *p = s; (p = std::strstr(p, needle)) != nullptr; p += std::strlen(needle)) n++;
    return n;
}

TEST(LangRecords, TableOrderCodesDirectionAndOwnNames) {
    for (int i = 0; i < LANG_COUNT; i++) {
        SCOPED_TRACE(kLanguages[i].code);
        EXPECT_STREQ(lang_records[i].code, kLanguages[i].code);
        EXPECT_EQ(lang_records[i].rtl, kLanguages[i].rtl);
        ASSERT_NE(lang_records[i].strings, nullptr);
        EXPECT_STREQ(lang_records[i].strings[STR_LANGUAGE_NAME], kLanguages[i].own_name);
    }
}

TEST(LangRecords, EveryTableHoldsThirtyThreeStringsThenNull) {
    for (int i = 0; i < LANG_COUNT; i++) {
        SCOPED_TRACE(lang_records[i].code);
        for (int slot = 0; slot < LANG_SLOTS; slot++) {
            ASSERT_NE(lang_records[i].strings[slot], nullptr) << "slot " << slot;
            EXPECT_NE(lang_records[i].strings[slot][0], '\0') << "slot " << slot;
        }
        EXPECT_EQ(lang_records[i].strings[LANG_SLOTS], nullptr);
    }
}

TEST(LangRecords, TitleAndBannerAreTheSameInEveryLanguage) {
    for (int i = 0; i < LANG_COUNT; i++) {
        SCOPED_TRACE(lang_records[i].code);
        EXPECT_STREQ(lang_records[i].strings[STR_TITLE], "Kestrune");
        EXPECT_STREQ(lang_records[i].strings[STR_UKRAINE_BANNER], "Слава Україні!");
    }
}

TEST(LangRecords, EveryStringIsValidUtf8WithoutStraySpaces) {
    for (int i = 0; i < LANG_COUNT; i++) {
        for (int slot = 0; slot < LANG_SLOTS; slot++) {
            const char *s = lang_records[i].strings[slot];
            SCOPED_TRACE(std::string(lang_records[i].code) + " slot " + std::to_string(slot));
            EXPECT_TRUE(valid_utf8(s)) << s;
            size_t n = std::strlen(s);
            EXPECT_NE(s[0], ' ') << s;
            EXPECT_NE(s[n - 1], ' ') << s;
            EXPECT_EQ(std::strchr(s, '\n'), nullptr) << s;
        }
    }
}

TEST(LangRecords, PlaceholdersMatchEnglishInEverySlot) {
    const char *const *en = lang_records[5].strings;
    // The English texts name exactly the placeholders the drawing passes.
    const int with_one[] = {STR_LANGUAGE_KEY, STR_HS_LEVEL, STR_POINTS, STR_CATCH_N_EGGS, STR_N_FLOORS,
                            STR_BONUS_POINTS};
    for (int slot = 0; slot < LANG_SLOTS; slot++) {
        std::vector<std::string> want;
        if (std::find(std::begin(with_one), std::end(with_one), slot) != std::end(with_one)) want = {"{1}"};
        if (slot == STR_HUD_LEVEL_OF) want = {"{1}", "{2}"};
        EXPECT_EQ(placeholders(en[slot]), want) << "English slot " << slot;
    }
    for (int i = 0; i < LANG_COUNT; i++) {
        for (int slot = 0; slot < LANG_SLOTS; slot++) {
            const char *s = lang_records[i].strings[slot];
            EXPECT_EQ(placeholders(s), placeholders(en[slot])) << lang_records[i].code << " slot " << slot << ": " << s;
            EXPECT_EQ(count(s, "{"), count(s, "}")) << lang_records[i].code << " slot " << slot << ": " << s;
        }
    }
}

TEST(LangRecords, LayoutHintsAndDashesAreKept) {
    for (int i = 0; i < LANG_COUNT; i++) {
        const char *const *s = lang_records[i].strings;
        SCOPED_TRACE(lang_records[i].code);
        // Two halves, three items, three parts between two spaced dashes.
        EXPECT_EQ(count(s[STR_CONTROLS], "   "), 1) << s[STR_CONTROLS];
        EXPECT_EQ(count(s[STR_KEYS], "   "), 2) << s[STR_KEYS];
        EXPECT_EQ(count(s[STR_CREDITS], "  \u2013  "), 2) << s[STR_CREDITS];
        EXPECT_EQ(count(s[STR_CREDITS], kEnDash), 2) << s[STR_CREDITS];
        EXPECT_NE(std::strstr(s[STR_LANGUAGE_KEY], kEnDash), nullptr) << s[STR_LANGUAGE_KEY];
        EXPECT_NE(std::strstr(s[STR_KEYS], "F11"), nullptr) << s[STR_KEYS];
        // Other scripts write the names in their own letters.
        if (latin_script(i)) {
            for (const char *name : {"Oskavel", "Plimby", "Trennick"})
                EXPECT_NE(std::strstr(s[STR_CREDITS], name), nullptr) << s[STR_CREDITS];
        }
        // The bitmap font has no em dash: it would send the whole string back to English.
        if (in_font_script(i)) {
            for (int slot = 0; slot < LANG_SLOTS; slot++)
                EXPECT_EQ(std::strstr(s[slot], "\u2014"), nullptr) << "slot " << slot << ": " << s[slot];
        }
    }
}

// The Latin-script translations use the en dash where English does.
TEST(LangRecords, LatinLanguagesUseTheEnDashLikeEnglish) {
    for (int i = 0; i < LANG_COUNT; i++) {
        if (!latin_script(i)) continue;
        const char *const *s = lang_records[i].strings;
        SCOPED_TRACE(lang_records[i].code);
        EXPECT_NE(std::strstr(s[STR_EGG_KINDS], kEnDash), nullptr) << s[STR_EGG_KINDS];
        EXPECT_NE(std::strstr(s[STR_MSG_EASTER_EGG], kEnDash), nullptr) << s[STR_MSG_EASTER_EGG];
    }
}

}  // namespace
