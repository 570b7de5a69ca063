// The choice of language: normalising locale strings and codes, and the order of
// precedence of the configured code, SDL's preferred locales and the locale variables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "text/text.h"

namespace {

enum { DA = 0, SV = 1, NB = 2, EN = 5, DE = 6, FR = 8, PT = 11, PT_BR = 12, UK = 19, HE = 20, ID = 28, ZH = 31 };

class LangFind : public ::testing::Test {
protected:
    void SetUp() override { lang_ru_seen = 0; }
    void TearDown() override { lang_ru_seen = 0; }
};

TEST_F(LangFind, NothingUsable) {
    for (const char *s : {static_cast<const char *>(nullptr), "", "_en", "-de", ".UTF-8", "@euro", "C", "C.UTF-8",
                          "POSIX", "eng", "english", "xx", "e", "ptBR", "rus", "\xC3\xA9"})
        EXPECT_EQ(lang_find(s), -1) << (s ? s : "(null)");
    EXPECT_EQ(lang_ru_seen, 0) << "rus takes three letters and is no Russian";
}

TEST_F(LangFind, CodesAndLocaleStrings) {
    struct Case {
        const char *s;
        int want;
    };
    const Case cases[] = {
        {"en", EN},        {"EN", EN},        {"en_US.UTF-8", EN}, {"en@quot", EN},   {"en-GB", EN},
        {"de_AT@euro", DE}, {"De", DE},        {"pt_BR", PT_BR},    {"pt-br", PT_BR},  {"PT_BR.UTF-8", PT_BR},
        {"pt_BRx", PT_BR}, {"pt", PT},        {"pt_PT", PT},       {"pt_", PT},       {"pt-b", PT}, {"pt_B", PT},
        {"no", NB},        {"nn", NB},        {"nb", NB},          {"no_NO", NB},     {"nn_NO.UTF-8", NB},
        {"kl", DA},        {"fo_FO", DA},     {"iw", HE},          {"iw_IL", HE},     {"in", ID},
        {"zh_TW", ZH},     {"sv_SE.UTF-8", SV}, {"fr", FR},
    };
    for (const Case &c : cases) EXPECT_EQ(lang_find(c.s), c.want) << c.s;
    EXPECT_EQ(lang_ru_seen, 0);
    // Each code of the table finds its own record.
    for (int i = 0; i < LANG_COUNT; i++) EXPECT_EQ(lang_find(lang_records[i].code), i) << lang_records[i].code;
    // A replacement needs exactly two letters.
    EXPECT_EQ(lang_find("nor"), -1);
    EXPECT_EQ(lang_find("ind"), -1);
}

TEST_F(LangFind, RussianChoosesUkrainianAndSetsTheFlag) {
    EXPECT_EQ(lang_find("ru"), UK);
    EXPECT_EQ(lang_ru_seen, 1);
    lang_ru_seen = 0;
    EXPECT_EQ(lang_find("RU_ru.UTF-8"), UK);
    EXPECT_EQ(lang_ru_seen, 1);
    EXPECT_EQ(lang_find("de"), DE);
    EXPECT_EQ(lang_ru_seen, 1) << "nothing but a Russian code touches the flag";
    lang_ru_seen = 0;
    EXPECT_EQ(lang_find("uk_UA"), UK);
    EXPECT_EQ(lang_ru_seen, 0);
}

// Every input SDL and the C library might hand over comes from the environment, which
// each test sets for itself and restores afterwards.
class LangDetect : public ::testing::Test {
protected:
    static constexpr const char *kVars[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG", "SDL_PREFERRED_LOCALES"};

    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        for (int i = 0; i < 5; i++) {
            const char *v = getenv(kVars[i]);
            had_[i] = v != nullptr;
            saved_[i] = v ? v : "";
            unsetenv(kVars[i]);
        }
        lang_current = EN;
        lang_ru_seen = 0;
    }
    void TearDown() override {
        for (int i = 0; i < 5; i++) {
            if (had_[i])
                setenv(kVars[i], saved_[i].c_str(), 1);
            else
                unsetenv(kVars[i]);
        }
        lang_current = EN;
        lang_ru_seen = 0;
    }
    // Preferred locales that name no language of ours: only the variables can decide.
    static void no_usable_preferred_locale() { setenv("SDL_PREFERRED_LOCALES", "xx", 1); }

    bool had_[5] = {};
    std::string saved_[5];
};

TEST_F(LangDetect, NothingAnywhereGivesEnglish) {
    lang_current = DE;
    lang_detect(nullptr);
    EXPECT_EQ(lang_current, EN);
    EXPECT_EQ(lang_ru_seen, 0);

    setenv("LANG", "C", 1);
    setenv("LC_ALL", "POSIX", 1);
    setenv("LANGUAGE", "", 1);
    lang_current = DE;
    lang_detect(nullptr);
    EXPECT_EQ(lang_current, EN);
    lang_detect("xx");
    EXPECT_EQ(lang_current, EN);
    lang_detect("");
    EXPECT_EQ(lang_current, EN);
}

TEST_F(LangDetect, ConfiguredCodeWins) {
    setenv("SDL_PREFERRED_LOCALES", "fr_FR,sv", 1);
    setenv("LANGUAGE", "sv", 1);
    lang_detect("da");
    EXPECT_EQ(lang_current, DA);
    EXPECT_EQ(lang_ru_seen, 0);
    lang_detect("pt_BR");
    EXPECT_EQ(lang_current, PT_BR);
}

TEST_F(LangDetect, ConfiguredCodeWithARussianEnvironment) {
    setenv("LANG", "ru_RU.UTF-8", 1);
    lang_detect("de");
    EXPECT_EQ(lang_current, DE);
    EXPECT_EQ(lang_ru_seen, 1);

    unsetenv("LANG");
    setenv("LANGUAGE", "ru:en", 1);
    lang_detect("de");
    EXPECT_EQ(lang_ru_seen, 1);

    unsetenv("LANGUAGE");
    setenv("SDL_PREFERRED_LOCALES", "en_US,ru_RU", 1);
    lang_detect("fr");
    EXPECT_EQ(lang_current, FR);
    EXPECT_EQ(lang_ru_seen, 1) << "any preferred locale counts, not only the first";

    // Only LANG and LANGUAGE count beside the preferred locales, and only lower-case "ru".
    setenv("SDL_PREFERRED_LOCALES", "en", 1);
    setenv("LC_ALL", "ru_RU.UTF-8", 1);
    setenv("LANG", "RU", 1);
    lang_detect("fr");
    EXPECT_EQ(lang_ru_seen, 0);
}

TEST_F(LangDetect, ConfiguredRussianWithoutARussianEnvironment) {
    setenv("SDL_PREFERRED_LOCALES", "en", 1);
    lang_detect("ru");
    EXPECT_EQ(lang_current, UK);
    EXPECT_EQ(lang_ru_seen, 0);
}

TEST_F(LangDetect, PreferredLocalesByLanguageOnly) {
    setenv("SDL_PREFERRED_LOCALES", "pt_BR", 1);
    lang_detect(nullptr);
    EXPECT_EQ(lang_current, PT) << "the country is never consulted";

    setenv("SDL_PREFERRED_LOCALES", "xx_XX,yy,de_CH,fr", 1);
    setenv("LANGUAGE", "sv", 1);
    lang_detect(nullptr);
    EXPECT_EQ(lang_current, DE);
    EXPECT_EQ(lang_ru_seen, 0);

    // A configured code that names nothing is no configured code.
    lang_detect("klingon");
    EXPECT_EQ(lang_current, DE);

    setenv("SDL_PREFERRED_LOCALES", "ru_RU,de", 1);
    lang_detect(nullptr);
    EXPECT_EQ(lang_current, UK);
    EXPECT_EQ(lang_ru_seen, 1);

    setenv("SDL_PREFERRED_LOCALES", "de,ru_RU", 1);
    lang_detect(nullptr);
    EXPECT_EQ(lang_current, DE);
    EXPECT_EQ(lang_ru_seen, 0) << "a Russian locale after the chosen one does not count";
}

TEST_F(LangDetect, LocaleVariablesInOrder) {
    no_usable_preferred_locale();
    setenv("LANGUAGE", "xx:sv:de", 1);
    lang_detect(nullptr);
    EXPECT_EQ(lang_current, SV);

    setenv("LANGUAGE", "xx", 1);
    setenv("LC_MESSAGES", "fr_FR.UTF-8", 1);
    setenv("LANG", "de_DE.UTF-8", 1);
    lang_detect(nullptr);
    EXPECT_EQ(lang_current, FR);

    setenv("LC_ALL", "nn_NO.UTF-8", 1);
    lang_detect(nullptr);
    EXPECT_EQ(lang_current, NB);

    setenv("LANGUAGE", "::pt_BR::", 1);
    lang_detect(nullptr);
    EXPECT_EQ(lang_current, PT_BR) << "empty pieces are skipped";

    unsetenv("LANGUAGE");
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    lang_detect(nullptr);
    EXPECT_EQ(lang_current, DE);

    setenv("LANG", "C.UTF-8", 1);
    setenv("LC_MESSAGES", "ru_UA", 1);
    lang_detect(nullptr);
    EXPECT_EQ(lang_current, UK);
    EXPECT_EQ(lang_ru_seen, 1);
}

TEST_F(LangDetect, LongLanguageValueIsCutAt127Bytes) {
    no_usable_preferred_locale();
    std::string fits = std::string(124, 'x') + ":de";  // 127 bytes
    setenv("LANGUAGE", fits.c_str(), 1);
    lang_detect(nullptr);
    EXPECT_EQ(lang_current, DE);

    std::string cut = std::string(125, 'x') + ":de";  // the copy ends in ":d"
    setenv("LANGUAGE", cut.c_str(), 1);
    lang_detect(nullptr);
    EXPECT_EQ(lang_current, EN);

    std::string huge(100000, ':');
    huge += "fr";
    setenv("LANGUAGE", huge.c_str(), 1);
    setenv("LANG", "sv", 1);
    lang_detect(nullptr);
    EXPECT_EQ(lang_current, SV) << "a value cut short yields nothing; the next variable decides";
}

}  // namespace
