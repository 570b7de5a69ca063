// The window-title marquee: its text in every language, counting and measuring UTF-8,
// still versus scrolling titles by window width, the 170 ms steps on a given clock, and
// forced updates.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "text/text.h"
#include "text/x11_title.h"

namespace {

const std::string kSep = "   \xE2\x80\xA2   ";  // three spaces, bullet, three spaces

// A string table with the five strings the marquee reads and empty strings elsewhere.
struct Table {
    std::vector<std::string> text = std::vector<std::string>(LANG_SLOTS);
    const char *ptrs[LANG_SLOTS + 1] = {};
    Table(const std::string &title, const std::string &name, const std::string &controls,
          const std::string &keys, const std::string &key_line) {
        text[STR_TITLE] = title;
        text[STR_LANGUAGE_NAME] = name;
        text[STR_CONTROLS] = controls;
        text[STR_KEYS] = keys;
        text[STR_LANGUAGE_KEY] = key_line;
        for (int i = 0; i < LANG_SLOTS; i++) ptrs[i] = text[i].c_str();
    }
    void build() { x11_build_marquee_from(ptrs); }
};

// Independent reference for well-formed UTF-8: decode whole code points.
std::vector<unsigned> code_points(const std::string &s) {
    std::vector<unsigned> out;
    for (size_t i = 0; i < s.size();) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        unsigned cp = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
        for (int k = 1; k < n; k++) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(cp);
        i += n;
    }
    return out;
}

int reference_units(const std::string &s) {
    int total = 0;
    for (unsigned cp : code_points(s)) total += cp < 0x80 ? 8 : cp < 0x2E80 ? 9 : 16;
    return total;
}

// Reference for the text a scrolling title shows over well-formed UTF-8: whole
// characters from character `offset` of the source while their units stay within room.
std::string visible(const std::string &source, int offset, int room) {
    std::string out;
    int used = 0, index = 0;
    for (size_t i = 0; i < source.size(); index++) {
        unsigned char b = static_cast<unsigned char>(source[i]);
        size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        std::string ch = source.substr(i, n);
        i += n;
        if (index < offset) continue;
        used += reference_units(ch);
        if (used > room) break;
        out += ch;
    }
    return out;
}

bool well_formed(const std::string &s) {
    for (size_t i = 0; i < s.size();) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        size_t n = b < 0x80 ? 1
                   : (b & 0xE0) == 0xC0 ? 2
                   : (b & 0xF0) == 0xE0 ? 3
                   : (b & 0xF8) == 0xF0 ? 4
                                        : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; k++)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

struct Step {
    bool written;
    std::string title;
};

Step step(int force, uint32_t now, int width) {
    char title[X11_MARQUEE_SIZE];
    std::memset(title, 'X', sizeof title);
    int w = x11_marquee_step(force, now, width, title);
    return {w != 0, w ? std::string(title) : std::string()};
}

// The example marquee: F, G, H and the language line YZ; 26 characters, 211 units.
Table example() { return Table("F", "Z", "G", "H", "Y{1}"); }
const std::string kExample = "F" + kSep + "G" + kSep + "H" + kSep + "YZ";

class Marquee : public ::testing::Test {
protected:
    void TearDown() override { lang_set(5); }
};

TEST_F(Marquee, BuildJoinsTheFourLinesAndResetsTheScroll) {
    x11_marquee_offset = 7;
    x11_marquee_last_ticks = 1234;
    x11_title_mode = 1;
    Table t = example();
    t.build();
    EXPECT_EQ(std::string(x11_marquee_text), kExample);
    EXPECT_EQ(x11_marquee_chars, 26);
    EXPECT_EQ(x11_text_units(x11_marquee_text), 211);
    EXPECT_EQ(x11_marquee_offset, 0);
    EXPECT_EQ(x11_marquee_last_ticks, 0u);
    EXPECT_EQ(x11_title_mode, -1);

    // Only the first placeholder is replaced; a line without one stands unchanged.
    Table two("T", "x", "", "", "A{1}B{1}");
    two.build();
    EXPECT_EQ(std::string(x11_marquee_text), "T" + kSep + kSep + kSep + "AxB{1}");
    Table none("T", "x", "c", "k", "no mark {2} {");
    none.build();
    EXPECT_EQ(std::string(x11_marquee_text),
              "T" + kSep + "c" + kSep + "k" + kSep + "no mark {2} {");
    Table empty("", "", "", "", "");
    empty.build();
    EXPECT_EQ(std::string(x11_marquee_text), kSep + kSep + kSep);
    EXPECT_EQ(x11_marquee_chars, 21);
}

TEST_F(Marquee, OverlongTextsAreCutByBytes) {
    // The language line stops at 199 bytes.
    Table line("T", "NAME", "", "", std::string(250, 'k') + "{1}");
    line.build();
    std::string m = x11_marquee_text;
    EXPECT_EQ(m, "T" + kSep + kSep + kSep + std::string(199, 'k'));

    // The marquee stops at 1399 bytes, here inside a three-byte character: its two bytes
    // left count as two characters of 8 units each.
    Table cut(std::string(1397, 'a') + "\xE4\xB8\xAD", "", "c", "k", "l");
    cut.build();
    ASSERT_EQ(std::strlen(x11_marquee_text), 1399u);
    EXPECT_EQ(static_cast<unsigned char>(x11_marquee_text[1397]), 0xE4);
    EXPECT_EQ(static_cast<unsigned char>(x11_marquee_text[1398]), 0xB8);
    EXPECT_EQ(x11_marquee_chars, 1399);
    EXPECT_EQ(x11_text_units(x11_marquee_text), 1399 * 8);
}

TEST_F(Marquee, EveryLanguageBuildsItsOwnMarquee) {
    for (int lang = 0; lang < LANG_COUNT; lang++) {
        SCOPED_TRACE(lang_code(lang));
        lang_set(static_cast<unsigned>(lang));
        x11_build_title_marquee();
        const char *const *T = lang_records[lang].strings;
        std::string key = T[STR_LANGUAGE_KEY];
        size_t at = key.find("{1}");
        ASSERT_NE(at, std::string::npos);
        key.replace(at, 3, T[STR_LANGUAGE_NAME]);
        std::string want = std::string(T[STR_TITLE]) + kSep + T[STR_CONTROLS] + kSep +
                           T[STR_KEYS] + kSep + key;
        EXPECT_EQ(std::string(x11_marquee_text), want);
        EXPECT_EQ(x11_marquee_chars, static_cast<int32_t>(code_points(want).size()));
        EXPECT_EQ(x11_text_units(x11_marquee_text), reference_units(want));
    }
    // Right-to-left text stays in reading order: Hebrew ends with its own name.
    lang_set(20);
    x11_build_title_marquee();
    std::string he = x11_marquee_text;
    EXPECT_EQ(he.substr(he.size() - 10), "\xD7\xA2\xD7\x91\xD7\xA8\xD7\x99\xD7\xAA");
}

TEST(MarqueeText, CountsAndMeasuresCharacters) {
    struct Case {
        const char *text;
        int chars;
        int units;
    } cases[] = {
        {"a \xE2\x80\xA2 b", 5, 41},
        {"\xC3\xA9", 1, 9},             // é
        {"\xE2\xB9\xBF", 1, 9},         // U+2E7F
        {"\xE2\xBA\x80", 1, 16},        // U+2E80
        {"\xE4\xB8\xAD", 1, 16},        // 中
        {"\xEF\xBF\xBF", 1, 16},        // U+FFFF
        {"\xE0\x81\x81", 1, 8},         // overlong three-byte form of ASCII
        {"\xF0\x9F\x98\x80", 1, 16},    // four bytes
        {"\xC1\x81", 1, 8},             // overlong two-byte form of ASCII
        {"\x80", 1, 8},                 // stray continuation byte
        {"\xFF\xF8", 2, 16},            // bytes that never start a character
        {"\xE4\xB8", 2, 16},            // cut short at the end
        {"\xF0\x9F\x98", 3, 24},        // cut short at the end
        {"\xC3", 1, 8},                 // lead byte alone
        {"", 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
        EXPECT_EQ(x11_text_chars(c.text), c.chars);
        EXPECT_EQ(x11_text_units(c.text), c.units);
    }
    // A step never passes the terminator, whatever the lead byte promises.
    const char lead_then_nul[] = {'\xF0', '\0', 'z', 'z', '\0'};
    int units = 0;
    EXPECT_EQ(x11_char_step(lead_then_nul, &units), 1);
    EXPECT_EQ(units, 8);
    const char three_then_nul[] = {'\xE4', '\xB8', '\0', 'z', '\0'};
    EXPECT_EQ(x11_char_step(three_then_nul, nullptr), 1);
    // Continuation bytes are not checked for their form, only for being non-NUL.
    EXPECT_EQ(x11_char_step("\xE4zz", &units), 3);
    EXPECT_EQ(units, 16);
}

TEST_F(Marquee, StillTitleWhenTheWindowIsWideEnough) {
    Table t = example();
    t.build();
    // Room is the width less 170; a total equal to the room fits.
    Step s = step(1, 5000, 381);
    ASSERT_TRUE(s.written);
    EXPECT_EQ(s.title, kExample);
    EXPECT_EQ(x11_title_mode, 0);
    EXPECT_EQ(x11_marquee_offset, 0);
    EXPECT_EQ(x11_marquee_last_ticks, 5000u);

    // A still title is not written again unless forced, and its time is not renewed.
    EXPECT_FALSE(step(0, 5170, 381).written);
    EXPECT_FALSE(step(0, 9000, 4000).written);
    EXPECT_EQ(x11_marquee_last_ticks, 5000u);
    s = step(1, 9001, 381);
    EXPECT_TRUE(s.written);
    EXPECT_EQ(s.title, kExample);
    EXPECT_EQ(x11_marquee_last_ticks, 9001u);

    // Made too narrow, it starts to scroll at the next update, from the beginning.
    s = step(0, 9171, 380);
    ASSERT_TRUE(s.written);
    EXPECT_EQ(s.title, kExample.substr(0, kExample.size() - 1));  // all but the last Z
    EXPECT_EQ(x11_title_mode, 1);
    EXPECT_EQ(x11_marquee_offset, 1);

    // The first unforced update after a build writes at once, still or not.
    t.build();
    s = step(0, 170, 2000);
    EXPECT_TRUE(s.written);
    EXPECT_EQ(s.title, kExample);
}

TEST_F(Marquee, ScrollingRunsThroughTheWholeCycle) {
    Table t = example();
    t.build();
    Step s = step(1, 1000, 380);
    EXPECT_EQ(s.title, "F" + kSep + "G" + kSep + "H" + kSep + "Y");
    EXPECT_EQ(x11_marquee_offset, 1);

    // Steps come at least 170 ms apart, unless forced.
    EXPECT_FALSE(step(0, 1169, 380).written);
    EXPECT_EQ(x11_marquee_offset, 1);
    s = step(0, 1170, 380);
    ASSERT_TRUE(s.written);
    EXPECT_EQ(s.title, kSep + "G" + kSep + "H" + kSep + "YZ");
    EXPECT_EQ(x11_marquee_offset, 2);
    s = step(1, 1171, 380);
    EXPECT_TRUE(s.written);
    EXPECT_EQ(x11_marquee_offset, 3);

    // The offset runs 0 .. 35 (26 characters and the ten spaces), then back to 0.
    uint32_t now = 1171;
    std::string source = kExample + std::string(10, ' ') + kExample;
    for (int offset = 3; offset <= 35; offset++) {
        now += 170;
        s = step(0, now, 380);
        ASSERT_TRUE(s.written);
        EXPECT_EQ(s.title, visible(source, offset, 210)) << offset;
        EXPECT_EQ(x11_marquee_offset, offset == 35 ? 0 : offset + 1) << offset;
    }
    // Then the start again.
    now += 170;
    s = step(0, now, 380);
    EXPECT_EQ(s.title, kExample.substr(0, kExample.size() - 1));
    EXPECT_EQ(x11_marquee_offset, 1);

    // Wide enough again: the whole marquee at the next step time, not before.
    EXPECT_FALSE(step(0, now + 100, 1000).written);
    s = step(0, now + 170, 1000);
    EXPECT_EQ(s.title, kExample);
    EXPECT_EQ(x11_title_mode, 0);
    EXPECT_EQ(x11_marquee_offset, 0);
}

TEST_F(Marquee, NarrowAndOddWidths) {
    Table t = example();
    t.build();
    // Narrower than 178: not even the first character fits, but the offset moves on.
    Step s = step(1, 10, 177);
    ASSERT_TRUE(s.written);
    EXPECT_EQ(s.title, "");
    EXPECT_EQ(x11_marquee_offset, 1);
    s = step(1, 20, 178);
    EXPECT_EQ(s.title, " ");  // offset 1, room 8: one space
    for (int width : {0, -5, INT_MIN, 169, 170}) {
        s = step(1, 30, width);
        EXPECT_TRUE(s.written);
        EXPECT_EQ(s.title, "");
    }
    s = step(1, 40, INT_MAX);
    EXPECT_EQ(s.title, kExample);

    // An empty marquee with no room scrolls through the ten spaces of the gap.
    std::memset(x11_marquee_text, 0, sizeof x11_marquee_text);
    x11_marquee_chars = 0;
    x11_marquee_offset = 9;
    x11_title_mode = -1;
    s = step(1, 50, 100);
    EXPECT_EQ(s.title, "");
    EXPECT_EQ(x11_marquee_offset, 0);
    s = step(1, 60, 170);
    EXPECT_EQ(x11_title_mode, 0);
}

TEST_F(Marquee, ClockWrapsAndForcedSteps) {
    Table t = example();
    t.build();
    // Right after a build a forced update shows offset 0 and leaves the offset at 1.
    Step s = step(1, 0, 380);
    EXPECT_TRUE(s.written);
    EXPECT_EQ(x11_marquee_offset, 1);
    EXPECT_EQ(x11_marquee_last_ticks, 0u);

    // Elapsed time is measured across a wrap of the 32-bit millisecond counter.
    x11_marquee_last_ticks = 0xFFFFFFF0u;
    EXPECT_FALSE(step(0, 0x50, 380).written);   // 96 ms
    EXPECT_TRUE(step(0, 0x9A, 380).written);    // 170 ms
    EXPECT_EQ(x11_marquee_last_ticks, 0x9Au);
    // A clock that seems to go back is a long elapsed time, not a stall.
    EXPECT_TRUE(step(0, 0x10, 380).written);
}

TEST_F(Marquee, ScrollingTitleStaysWithinItsBuffer) {
    // A marquee of exactly 1399 bytes: 1328 letters, the separators and eleven four-byte
    // characters. From offset 1 the last of them starts at byte 1394 of the title, passes
    // the limit and is the last one copied: 1398 bytes.
    std::string emoji;
    for (int i = 0; i < 11; i++) emoji += "\xF0\x9F\x98\x80";
    Table t(std::string(1328, 'a'), "", "", "", emoji);
    t.build();
    std::string m = x11_marquee_text;
    ASSERT_EQ(m.size(), 1399u);
    int total = x11_text_units(x11_marquee_text);
    x11_marquee_offset = 1;
    Step s = step(1, 100, total + 169);
    ASSERT_TRUE(s.written);
    EXPECT_EQ(x11_title_mode, 1);
    EXPECT_EQ(s.title.size(), 1398u);
    EXPECT_EQ(s.title, m.substr(1, 1398));

    // Every offset and width keeps within 1398 bytes and cuts between characters.
    std::string source = x11_marquee_scroll_buf;
    EXPECT_EQ(source, m + std::string(10, ' ') + m);
    for (int width : {200, 1000, 5000, total + 100, total + 169}) {
        for (int i = 0; i < x11_marquee_chars + 10; i += 7) {
            x11_marquee_offset = i;
            s = step(1, 100, width);
            EXPECT_LE(s.title.size(), 1398u);
            EXPECT_NE(source.find(s.title), std::string::npos);
            EXPECT_TRUE(well_formed(s.title)) << width << " " << i;
        }
    }
}

}  // namespace
