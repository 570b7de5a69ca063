// Kestrune tests: the command-line scan, the test run's script reader and its input rule.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/app.h"

namespace {

// Scans these arguments from a fresh start; returns the scan's result.
int scan(std::vector<std::string> args) {
    app_options = AppOptions{0, 0, 0, 0, nullptr, ".", nullptr, nullptr};
    app_bot_enabled = 0;
    static std::vector<std::string> keep;
    keep = std::move(args);
    keep.insert(keep.begin(), "kestrune");
    static std::vector<char *> argv;
    argv.clear();
    for (auto &s : keep) argv.push_back(&s[0]);
    argv.push_back(nullptr);
    return app_scan_command_line((int)keep.size(), argv.data());
}

void read_script(const std::string &text) {
    app_clear_script();
    FILE *f = fmemopen(const_cast<char *>(text.data()), text.size(), "r");
    ASSERT_NE(f, nullptr);
    app_read_script_from(f);
    std::fclose(f);
}

}  // namespace

TEST(CommandLine, LevelNumbers) {
    struct Case {
        const char *value;
        int32_t index;
    } cases[] = {{"1", 0},  {"15", 14}, {"16", 0},   {"0", 0},     {"-3", 0},  {"word", 0}, {" 7", 6},
                 {"+7", 6}, {"7abc", 6}, {"", 0},    {"4294967298", 1},  // low 32 bits of 2^32 + 2
                 {"-2147483648", 0}, {"99999999999999999999", 0}};
    for (const Case &c : cases) {
        ASSERT_EQ(scan({"--bane", c.value}), 1) << c.value;
        EXPECT_EQ(app_options.start_level, c.index) << c.value;
    }
}

TEST(CommandLine, ValuesAndFlags) {
    ASSERT_EQ(scan({}), 1);
    EXPECT_EQ(app_options.start_level, 0);
    EXPECT_EQ(app_options.test_ticks, 0);
    EXPECT_STREQ(app_options.out_dir, ".");
    EXPECT_EQ(app_options.script_path, nullptr);
    EXPECT_EQ(app_options.title_path, nullptr);
    EXPECT_EQ(app_options.lang_code, nullptr);

    ASSERT_EQ(scan({"--test", "12", "--skala", "3", "--fuldskaerm", "--by", "x", "--ud", "out", "--titelbillede",
                    "t.bmp", "--bot"}),
              1);
    EXPECT_EQ(app_options.test_ticks, 12);
    EXPECT_EQ(app_options.scale, 3);
    EXPECT_EQ(app_options.fullscreen, 1);
    EXPECT_STREQ(app_options.out_dir, "out");
    EXPECT_STREQ(app_options.title_path, "t.bmp");
    EXPECT_EQ(app_bot_enabled, 1);

    // A value is the next argument whatever it looks like; later options win.
    ASSERT_EQ(scan({"--script", "--bot", "--sprog", "de", "--sprog", "fr", "--test", "-5"}), 1);
    EXPECT_STREQ(app_options.script_path, "--bot");
    EXPECT_EQ(app_bot_enabled, 0);
    EXPECT_STREQ(app_options.lang_code, "fr");
    EXPECT_EQ(app_options.test_ticks, -5);
    ASSERT_EQ(scan({"--ud", "", "--sprog", ""}), 1);
    EXPECT_STREQ(app_options.out_dir, "");
    EXPECT_STREQ(app_options.lang_code, "");
}

TEST(CommandLine, AnOptionWithoutItsValueStopsTheScan) {
    for (const char *last : {"--bane", "--by", "--skala", "--test", "--script", "--ud", "--titelbillede", "--sprog"})
        EXPECT_EQ(scan({"--bot", last}), 0) << last;
    EXPECT_EQ(scan({"--test", "5", "oops", "--bane", "3"}), 0);
}

TEST(Script, LinesAndTheirFields) {
    read_script(
        "5 1\n"
        "7 33 s\n"
        "8 2s\n"           // the flag right after the mask
        "9 4 x\n"          // another letter: no picture
        "10 8 s\r\n"       // CRLF
        "11 16 \r\n"       // a blank flag
        "   12    32\n"    // blanks anywhere
        "-3 5 s\n"         // a negative tick touches nothing
        "199999 7 s\n"
        "200000 6 s\n"
        "# comment\n"
        "\n"
        "13\n"             // one number only
        "14 -1 s");        // no final newline; any mask is taken
    struct Row {
        int tick, mask, set, shot;
    } rows[] = {{5, 1, 1, 0},   {7, 33, 1, 1},  {8, 2, 1, 1},      {9, 4, 1, 0},     {10, 8, 1, 1},
                {11, 16, 1, 0}, {12, 32, 1, 0}, {13, 0, 0, 0},     {14, -1, 1, 1},   {199999, 7, 1, 1},
                {0, 0, 0, 0},   {4, 0, 0, 0},   {6, 0, 0, 0}};
    for (const Row &r : rows) {
        EXPECT_EQ(app_script_mask[r.tick], r.mask) << r.tick;
        EXPECT_EQ(app_script_set[r.tick], r.set) << r.tick;
        EXPECT_EQ(app_script_shot[r.tick], r.shot) << r.tick;
    }
    int set_count = 0;
    for (int i = 0; i < APP_SCRIPT_TICKS; i++) set_count += app_script_set[i];
    EXPECT_EQ(set_count, 9);
}

TEST(Script, NumbersBeyondInt32Saturate) {
    // A tick past the int32 range counts as a tick past the tables, whatever its low
    // bits say (2^32 + 5 would otherwise land on tick 5); a mask saturates.
    read_script(
        "4294967301 1 s\n"
        "-4294967291 2 s\n"
        "99999999999999999999999 3\n"
        "6 99999999999\n"
        "7 -99999999999 s\n"
        "8 2147483647\n"
        "9 -2147483648\n"
        "10 +12\n"
        "11 - 3\n"      // a sign without digits is no number
        "12 0x10 s\n");  // decimal only: the mask is 0, "x" is the flag
    EXPECT_EQ(app_script_set[5], 0);
    EXPECT_EQ(app_script_mask[6], INT32_MAX);
    EXPECT_EQ(app_script_mask[7], INT32_MIN);
    EXPECT_EQ(app_script_shot[7], 1);
    EXPECT_EQ(app_script_mask[8], INT32_MAX);
    EXPECT_EQ(app_script_mask[9], INT32_MIN);
    EXPECT_EQ(app_script_mask[10], 12);
    EXPECT_EQ(app_script_set[11], 0);
    EXPECT_EQ(app_script_set[12], 1);
    EXPECT_EQ(app_script_mask[12], 0);
    EXPECT_EQ(app_script_shot[12], 0);
    int set_count = 0;
    for (int i = 0; i < APP_SCRIPT_TICKS; i++) set_count += app_script_set[i];
    EXPECT_EQ(set_count, 6);
}

TEST(Script, LaterLinesReplaceEarlierOnes) {
    read_script("10 1 s\n3 4\n10 2\n");
    EXPECT_EQ(app_script_mask[10], 2);
    EXPECT_EQ(app_script_shot[10], 0);  // the later line without "s" cancels the picture
    EXPECT_EQ(app_script_mask[3], 4);
    read_script("10 1\n10 1 s\n");
    EXPECT_EQ(app_script_shot[10], 1);
}

TEST(Script, LongLinesComeInPieces) {
    // 127 bytes a read: what follows is parsed as a line of its own.
    read_script("20 1 " + std::string(122, ' ') + "30 2 s\n");
    EXPECT_EQ(app_script_mask[20], 1);
    EXPECT_EQ(app_script_shot[20], 0);
    EXPECT_EQ(app_script_mask[30], 2);
    EXPECT_EQ(app_script_shot[30], 1);
    // A megabyte line of digits with bytes above ASCII in it sets nothing.
    std::string junk(1 << 20, '9');
    for (size_t i = 0; i < junk.size(); i += 97) junk[i] = (char)(0x80 + i % 64);
    read_script(junk);
    for (int i = 0; i < APP_SCRIPT_TICKS; i++) ASSERT_EQ(app_script_set[i], 0) << i;
}

TEST(TestRunInput, DirectionsAndNewBits) {
    PlayerInput in;
    app_test_input(0x0F, 0, &in);
    EXPECT_EQ(in.left, 2);
    EXPECT_EQ(in.right, 1);
    EXPECT_EQ(in.up, 4);
    EXPECT_EQ(in.down, 8);
    EXPECT_EQ(in.action, 1);
    app_test_input(1, 1, &in);  // held: no action
    EXPECT_EQ(in.action, 0);
    app_test_input(33, 1, &in);  // 0x20 is new
    EXPECT_EQ(in.action, 1);
    app_test_input(3, 1, &in);  // 0x02 is new: an action here, unlike the interactive game
    EXPECT_EQ(in.action, 1);
    app_test_input(1, 3, &in);  // a released bit is no press
    EXPECT_EQ(in.action, 0);
    app_test_input(0x40, 0, &in);  // a bit above the action bits counts as well
    EXPECT_EQ(in.action, 1);
    EXPECT_EQ(in.left | in.right | in.up | in.down, 0);
    app_test_input(0, 0, &in);
    EXPECT_EQ(in.action, 0);
}
