// Kestrune tests: leaving the name entry (the new row, the saved file, the screen) and
// the test run's bot.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "app/app.h"
#include "test_util.h"

using testutil::TempDir;

namespace {

void start_commit(int slot, const char *name, int score, int level_index) {
    app_fill_default_high_scores();
    app_new_record_slot = slot;
    std::snprintf(app_name_buf, sizeof app_name_buf, "%s", name);
    game_state.score = score;
    game_state.level = level_index;
    app_state = SCREEN_NAME_ENTRY;
    app_frame = 5;
    app_music_on = 0;
}

void clear_eggs() {
    std::memset(game_eggs, 0, sizeof game_eggs);
    game_state.phase_timer = 1;
    game_basket_floor = 1;
    app_bot_toggle = 0;
}

void put_egg(int i, int side, int floor, int kind, float t) {
    game_eggs[i].active = 1;
    game_eggs[i].side = side;
    game_eggs[i].floor = floor;
    game_eggs[i].kind = kind;
    game_eggs[i].falling = 0;
    game_eggs[i].t = t;
}

PlayerInput bot() {
    PlayerInput in;
    std::memset(&in, 0x55, sizeof in);  // every field must be written
    app_bot_fill_input(&in);
    return in;
}

}  // namespace

TEST(CommitHighScore, IntoTheFirstRow) {
    TempDir dir;
    std::snprintf(app_records_path, sizeof app_records_path, "%s", (dir / "rekorder.txt").c_str());
    start_commit(0, "Ann", 20000, 14);
    app_commit_high_score();
    EXPECT_STREQ(app_high_scores[0].name, "Ann");
    EXPECT_EQ(app_high_scores[0].score, 20000);
    EXPECT_EQ(app_high_scores[0].level, 15);
    EXPECT_STREQ(app_high_scores[1].name, "Plimby");
    EXPECT_EQ(app_high_scores[1].score, 15000);
    EXPECT_STREQ(app_high_scores[9].name, "Rugeægget");  // the old last row is gone
    EXPECT_EQ(app_state, SCREEN_TITLE);
    EXPECT_EQ(app_frame, 420);
    EXPECT_EQ(testutil::read_file(dir / "rekorder.txt"),
              "20000 15 Ann\n15000 11 Plimby\n13500 10 Påskeharen\n12000 9 Hønemor\n10500 8 Kyllingen\n"
              "9000 7 Hanen\n7500 6 Guldægget\n6000 5 Påskeliljen\n4500 4 Gækkebrevet\n3000 3 Rugeægget\n");
    app_records_path[0] = '\0';
}

TEST(CommitHighScore, IntoTheLastRowWithNoName) {
    TempDir dir;
    std::snprintf(app_records_path, sizeof app_records_path, "%s", (dir / "rekorder.txt").c_str());
    start_commit(9, "", 1501, 0);
    app_commit_high_score();
    EXPECT_STREQ(app_high_scores[8].name, "Rugeægget");
    EXPECT_STREQ(app_high_scores[9].name, "Plimby");
    EXPECT_EQ(app_high_scores[9].score, 1501);
    EXPECT_EQ(app_high_scores[9].level, 1);
    std::string text = testutil::read_file(dir / "rekorder.txt");
    const std::string tail = "3000 3 Rugeægget\n1501 1 Plimby\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10);
    app_records_path[0] = '\0';
}

TEST(CommitHighScore, BlankNamesAreTrimmedAndTheFileReadsBackTheSameTable) {
    // Three spaces were written as "24 15   ": that row read back as its default, and
    // the score was lost at the next start. No-break and ideographic spaces were kept as
    // a name that shows nothing.
    TempDir dir;
    const std::string file = dir / "rekorder.txt";
    std::snprintf(app_records_path, sizeof app_records_path, "%s", file.c_str());
    struct Case {
        const char *typed;
        const char *stored;
    } cases[] = {{"   ", "Plimby"},
                 {" ", "Plimby"},
                 {"  Bo  ", "Bo"},
                 {" Anne Marie", "Anne Marie"},
                 {"Zed ", "Zed"},
                 {"\xc3\xa6 ", "\xc3\xa6"},
                 {"\xc2\xa0", "Plimby"},                                  // U+00A0
                 {"\xe3\x80\x80\xe3\x80\x80", "Plimby"},                     // U+3000
                 {"\xe2\x80\x83\t\xe2\x80\xaf\xe1\x9a\x80", "Plimby"},         // U+2003, a tab, U+202F, U+1680
                 {"\xe2\x80\xa8\xe2\x81\x9f\xc2\x85", "Plimby"},               // U+2028, U+205F, U+0085
                 {"\xe3\x80\x80" "Bo\xc2\xa0", "Bo"},
                 {"A\xc2\xa0" "B", "A\xc2\xa0" "B"},                        // a blank inside stays
                 {"\xe2\x80\x8b", "\xe2\x80\x8b"},                           // U+200B is no space
                 {"\xe3\x81\x82\xe3\x80\x80", "\xe3\x81\x82"}};
    for (const Case &c : cases) {
        unlink(file.c_str());
        start_commit(3, c.typed, 10600, 14);
        app_read_high_scores();
        app_commit_high_score();
        EXPECT_STREQ(app_high_scores[3].name, c.stored) << '"' << c.typed << '"';
        HighScoreEntry shown[10];
        std::memcpy(shown, app_high_scores, sizeof shown);
        app_fill_default_high_scores();
        app_read_high_scores();
        for (int i = 0; i < 10; i++) {
            EXPECT_STREQ(app_high_scores[i].name, shown[i].name) << '"' << c.typed << "\" row " << i;
            EXPECT_EQ(app_high_scores[i].score, shown[i].score) << '"' << c.typed << "\" row " << i;
            EXPECT_EQ(app_high_scores[i].level, shown[i].level) << '"' << c.typed << "\" row " << i;
        }
    }
    app_records_path[0] = '\0';
}

TEST(CommitHighScore, WithoutAFileOrARow) {
    // No path: the table alone changes.
    app_records_path[0] = '\0';
    start_commit(4, "Bo", 9500, 6);
    app_commit_high_score();
    EXPECT_STREQ(app_high_scores[4].name, "Bo");
    EXPECT_STREQ(app_high_scores[5].name, "Hanen");
    // A file that cannot be written keeps the row in memory.
    TempDir dir;
    std::snprintf(app_records_path, sizeof app_records_path, "%s", (dir / "missing/rekorder.txt").c_str());
    start_commit(2, "Cid", 12500, 8);
    app_commit_high_score();
    EXPECT_STREQ(app_high_scores[2].name, "Cid");
    EXPECT_EQ(app_state, SCREEN_TITLE);
    app_records_path[0] = '\0';
    // No row to take: the table stays, the title screen still opens.
    start_commit(-1, "Dan", 99999, 3);
    app_commit_high_score();
    EXPECT_STREQ(app_high_scores[0].name, "Plimby");
    EXPECT_EQ(app_state, SCREEN_TITLE);
    EXPECT_EQ(app_frame, 420);
}

TEST(Bot, NoTargetOnlyPulsesTheAction) {
    clear_eggs();
    put_egg(0, 1, 0, EGG_ROTTEN, 0.5f);  // rotten: let it fall
    put_egg(1, 1, 0, EGG_NORMAL, 0.9f);
    game_eggs[1].falling = 1;               // already falling
    put_egg(2, 0, 2, EGG_GOLDEN, -9.0f);   // not beyond -9
    put_egg(3, 0, 2, EGG_NORMAL, 0.7f);
    game_eggs[3].active = 0;
    for (int timer : {0, 1, 19, 20, 40, 41}) {
        game_state.phase_timer = timer;
        PlayerInput in = bot();
        EXPECT_EQ(in.action, timer % 20 == 0 ? 1 : 0) << timer;
        EXPECT_EQ(in.left | in.right | in.up | in.down, 0);
    }
    EXPECT_EQ(app_bot_toggle, 0);
    EXPECT_EQ(app_count_eggs_in_air(), 3);
}

TEST(Bot, FollowsTheEggFurthestAlong) {
    clear_eggs();
    put_egg(5, 0, 2, EGG_NORMAL, 0.4f);
    put_egg(7, 1, 0, EGG_PAINTED, 0.6f);
    put_egg(9, 0, 3, EGG_GOLDEN, 0.6f);  // equal t: the lower index (7) wins
    PlayerInput in = bot();
    EXPECT_EQ(in.right, 1);
    EXPECT_EQ(in.left, 0);
    EXPECT_EQ(in.down, 1);  // floor 0 below the basket's floor 1
    EXPECT_EQ(in.up, 0);
    EXPECT_EQ(app_bot_toggle, 1);
    in = bot();  // every second call leaves up and down alone
    EXPECT_EQ(in.right, 1);
    EXPECT_EQ(in.down, 0);
    EXPECT_EQ(app_bot_toggle, 0);
    game_eggs[7].active = 0;
    in = bot();
    EXPECT_EQ(in.left, 1);
    EXPECT_EQ(in.right, 0);
    EXPECT_EQ(in.up, 1);  // floor 3 above
    game_basket_floor = 3;
    app_bot_toggle = 0;
    in = bot();
    EXPECT_EQ(in.up | in.down, 0);  // same floor
    app_bot_toggle = 7;  // any non-zero value counts as set
    in = bot();
    EXPECT_EQ(app_bot_toggle, 0);
}
