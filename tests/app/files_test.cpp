// Kestrune tests: the high-score table, the settings file, the data directory and the
// atomic replacement of both files.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "app/app.h"
#include "test_util.h"

using testutil::TempDir;

namespace {

const char *const kDefaultNames[10] = {"Plimby",    "Påskeharen",  "Hønemor",     "Kyllingen", "Hanen",
                                       "Guldægget", "Påskeliljen", "Gækkebrevet", "Rugeægget", "Æggesnapsen"};

// Reads these bytes as the record file over a fresh default table.
void read_records(const std::string &bytes) {
    app_fill_default_high_scores();
    TempDir dir;
    testutil::write_file(dir / "rekorder.txt", bytes);
    std::snprintf(app_records_path, sizeof app_records_path, "%s", (dir / "rekorder.txt").c_str());
    app_read_high_scores();
    app_records_path[0] = '\0';
}

const char *read_settings(const std::string &bytes) {
    TempDir dir;
    testutil::write_file(dir / "indstillinger.txt", bytes);
    std::snprintf(app_settings_path, sizeof app_settings_path, "%s", (dir / "indstillinger.txt").c_str());
    const char *code = app_read_settings();
    app_settings_path[0] = '\0';
    return code;
}

void expect_default_row(int i) {
    EXPECT_STREQ(app_high_scores[i].name, kDefaultNames[i]) << "row " << i;
    EXPECT_EQ(app_high_scores[i].score, 15000 - 1500 * i) << "row " << i;
    EXPECT_EQ(app_high_scores[i].level, 11 - i) << "row " << i;
}

std::string ten_lines(const char *prefix) {
    std::string s;
    for (int i = 0; i < 10; i++) s += std::to_string(100 * (10 - i)) + " " + std::to_string(i + 1) + " " + prefix + std::to_string(i) + "\n";
    return s;
}

// The env var is put back as it was after each test.
class HomeGuard {
public:
    HomeGuard() {
        const char *h = std::getenv("HOME");
        had_ = h != nullptr;
        if (h) old_ = h;
    }
    ~HomeGuard() {
        if (had_) {
            setenv("HOME", old_.c_str(), 1);
        } else {
            unsetenv("HOME");
        }
        app_records_path[0] = '\0';
        app_settings_path[0] = '\0';
    }

private:
    bool had_ = false;
    std::string old_;
};

}  // namespace

TEST(HighScoreFile, DefaultsAndMissingFile) {
    app_fill_default_high_scores();
    for (int i = 0; i < 10; i++) expect_default_row(i);
    // A missing file, an empty path and a folder in the file's place leave the defaults.
    TempDir dir;
    std::snprintf(app_records_path, sizeof app_records_path, "%s", (dir / "none.txt").c_str());
    app_read_high_scores();
    std::snprintf(app_records_path, sizeof app_records_path, "%s", dir.path().c_str());
    app_read_high_scores();
    app_records_path[0] = '\0';
    app_read_high_scores();
    for (int i = 0; i < 10; i++) expect_default_row(i);
}

TEST(HighScoreFile, ShortFileAndUnparsableLines) {
    // Three good lines: the rest are defaults, even where a file row scores lower.
    read_records("900 3 Ann\n800 2 Bo\n10 1 Cid\n");
    EXPECT_STREQ(app_high_scores[0].name, "Ann");
    EXPECT_EQ(app_high_scores[0].score, 900);
    EXPECT_EQ(app_high_scores[0].level, 3);
    EXPECT_STREQ(app_high_scores[2].name, "Cid");
    EXPECT_EQ(app_high_scores[2].score, 10);
    for (int i = 3; i < 10; i++) expect_default_row(i);

    // A bad line keeps its row's default and still uses the row up.
    read_records("900 3 Ann\nrubbish\n700 2\n600 2 \n500 1 Eve\n\n400 1 Fay");
    EXPECT_STREQ(app_high_scores[0].name, "Ann");
    expect_default_row(1);
    expect_default_row(2);  // the numbers without a name
    expect_default_row(3);  // trailing blanks are no name either
    EXPECT_STREQ(app_high_scores[4].name, "Eve");
    expect_default_row(5);  // an empty line
    EXPECT_STREQ(app_high_scores[6].name, "Fay");  // no final newline
    EXPECT_EQ(app_high_scores[6].score, 400);
    for (int i = 7; i < 10; i++) expect_default_row(i);
}

TEST(HighScoreFile, NamesAsTheFileGivesThem) {
    read_records(
        "1 1 Anne Marie\n"            // a space inside stays
        "2 2     Bo\n"                // leading blanks go
        "3 3 Abcdefghijklmnopqrst\n"  // cut to 15 bytes
        "4 4 Dan\r\n"                 // a CRLF line end: the CR is no part of the name
        "5 5 \xc3\xa6\xc3\xa6\xc3\xa6\xc3\xa6\xc3\xa6\xc3\xa6\xc3\xa6\xc3\xa6\n"  // cut between two characters
        "-7 99 Neg\n"                 // the level is shown within 1..15
        "6 6 \xff\xfe\x80 bad\n");    // not UTF-8: taken as it is
    EXPECT_STREQ(app_high_scores[0].name, "Anne Marie");
    EXPECT_STREQ(app_high_scores[1].name, "Bo");
    EXPECT_STREQ(app_high_scores[2].name, "Abcdefghijklmno");
    EXPECT_STREQ(app_high_scores[3].name, "Dan");
    EXPECT_STREQ(app_high_scores[4].name, "\xc3\xa6\xc3\xa6\xc3\xa6\xc3\xa6\xc3\xa6\xc3\xa6\xc3\xa6");
    EXPECT_EQ(app_high_scores[5].score, -7);
    EXPECT_EQ(app_high_scores[5].level, 15);
    EXPECT_STREQ(app_high_scores[6].name, "\xff\xfe\x80 bad");
}

TEST(HighScoreFile, NamesComeBackAsTheyWereWritten) {
    // CRLF files kept a CR in every name, a cut could fall inside a character, and both
    // were written back so.
    read_records(
        "1 1 Dan\r\r\n"                                              // every CR before the end
        "2 2 \r\n"                                                    // a CR alone is no name
        "3 3 A\rB\r\n"                                                // one inside stays
        "4 4 abcdefghijklm\r\xc3\xa6x\n"                              // the cut leaves a CR last
        "5 5 \xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\n"  // 15 bytes exactly
        "6 6 abcdefghijkl\xf0\x9f\x98\x80\n"                         // a four-byte character
        "7 7 aaaaaaaaaaaaaaa\x80\x80\n"                               // no UTF-8: cut where it lies
        "8 8 abcdefghijklmn\xe2\x82\xac\n"
        "9 9 Last\r");                                                // no final newline
    EXPECT_STREQ(app_high_scores[0].name, "Dan");
    expect_default_row(1);
    EXPECT_STREQ(app_high_scores[2].name, "A\rB");
    EXPECT_STREQ(app_high_scores[3].name, "abcdefghijklm");
    EXPECT_STREQ(app_high_scores[4].name, "\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac");
    EXPECT_STREQ(app_high_scores[5].name, "abcdefghijkl");
    EXPECT_STREQ(app_high_scores[6].name, "aaaaaaaaaaaaaaa");
    EXPECT_STREQ(app_high_scores[7].name, "abcdefghijklmn");
    EXPECT_STREQ(app_high_scores[8].name, "Last");
    // Written and read again, the table is the same.
    HighScoreEntry read[10];
    std::memcpy(read, app_high_scores, sizeof read);
    char text[APP_RECORDS_TEXT_ROOM];
    size_t n = app_format_high_scores(text, sizeof text);
    ASSERT_GT(n, 0u);
    read_records(std::string(text, n));
    for (int i = 0; i < 10; i++) EXPECT_STREQ(app_high_scores[i].name, read[i].name) << i;
}

TEST(HighScoreFile, NumbersSaturateAndLevelsAreClamped) {
    read_records(
        "99999999999999999999 99999999999 Big\n"
        "-99999999999999999999 -99999999999 Small\n"
        "2147483647 15 Top\n"
        "-2147483648 1 Bottom\n"
        "4294967301 0 Wrap\n"
        "+12 16 Plus\n"
        "- 5 2 Sign\n"
        "7 +-2 Twice\n");
    EXPECT_STREQ(app_high_scores[0].name, "Big");
    EXPECT_EQ(app_high_scores[0].score, INT32_MAX);
    EXPECT_EQ(app_high_scores[0].level, 15);
    EXPECT_EQ(app_high_scores[1].score, INT32_MIN);
    EXPECT_EQ(app_high_scores[1].level, 1);
    EXPECT_EQ(app_high_scores[2].score, INT32_MAX);
    EXPECT_EQ(app_high_scores[2].level, 15);
    EXPECT_EQ(app_high_scores[3].score, INT32_MIN);
    EXPECT_EQ(app_high_scores[3].level, 1);
    EXPECT_EQ(app_high_scores[4].score, INT32_MAX);  // not the low 32 bits (5)
    EXPECT_EQ(app_high_scores[4].level, 1);
    EXPECT_EQ(app_high_scores[5].score, 12);
    EXPECT_EQ(app_high_scores[5].level, 15);
    expect_default_row(6);  // a sign with no digits after it is no number
    expect_default_row(7);
    // What was read writes out and reads back as the same table.
    char text[APP_RECORDS_TEXT_ROOM];
    size_t n = app_format_high_scores(text, sizeof text);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(std::string(text, n).substr(0, 38), "2147483647 15 Big\n-2147483648 1 Small\n");
}

TEST(HighScoreFile, LongLinesSplitAndExtraLinesIgnored) {
    // 127 bytes a read: the rest of a long line is read as the next row's line.
    std::string longname(200, 'a');
    read_records("1 1 " + longname + "\n5 6 Bo\n");
    EXPECT_EQ(std::string(app_high_scores[0].name), std::string(15, 'a'));
    expect_default_row(1);
    EXPECT_STREQ(app_high_scores[2].name, "Bo");

    // The rest of a line that parses as three fields fills the next row.
    read_records("1 1 " + std::string(123, 'x') + "22 3 Split\n");
    EXPECT_STREQ(app_high_scores[1].name, "Split");
    EXPECT_EQ(app_high_scores[1].score, 22);

    // Lines after the tenth are not read.
    read_records(ten_lines("P") + "99999 15 Late\n");
    for (int i = 0; i < 10; i++) EXPECT_EQ(app_high_scores[i].name, "P" + std::to_string(i));

    // A megabyte on one line, NUL bytes and binary garbage: orderly, nothing past a field.
    std::string garbage(1 << 20, 'z');
    for (size_t i = 0; i < garbage.size(); i += 7) garbage[i] = (char)(i * 131);
    read_records(garbage);
    for (int i = 0; i < 10; i++) EXPECT_LT(std::strlen(app_high_scores[i].name), 16u);
    read_records(std::string("1 1 A\0B\n2 2 C\n", 14));
    EXPECT_STREQ(app_high_scores[0].name, "A");
    EXPECT_STREQ(app_high_scores[1].name, "C");
}

TEST(HighScoreFile, WriterGivesTenLinesThatReadBack) {
    TempDir dir;
    app_fill_default_high_scores();
    std::snprintf(app_high_scores[3].name, 16, "%s", "Anne Marie");
    app_high_scores[3].score = -5;
    std::snprintf(app_records_path, sizeof app_records_path, "%s", (dir / "rekorder.txt").c_str());
    ASSERT_EQ(app_write_high_scores(), 1);
    std::string text = testutil::read_file(dir / "rekorder.txt");
    EXPECT_EQ(text,
              "15000 11 Plimby\n13500 10 Påskeharen\n12000 9 Hønemor\n-5 8 Anne Marie\n9000 7 Hanen\n"
              "7500 6 Guldægget\n6000 5 Påskeliljen\n4500 4 Gækkebrevet\n3000 3 Rugeægget\n1500 2 Æggesnapsen\n");
    HighScoreEntry saved[10];
    std::memcpy(saved, app_high_scores, sizeof saved);
    app_fill_default_high_scores();
    app_read_high_scores();
    for (int i = 0; i < 10; i++) {
        EXPECT_STREQ(app_high_scores[i].name, saved[i].name);
        EXPECT_EQ(app_high_scores[i].score, saved[i].score);
        EXPECT_EQ(app_high_scores[i].level, saved[i].level);
    }
    // No temporary file is left beside it (only the save lock), and the mode is a plain file's.
    EXPECT_EQ(testutil::list_dir(dir.path()), (std::vector<std::string>{"rekorder.txt", "rekorder.txt.lock"}));
    struct stat st;
    ASSERT_EQ(stat((dir / "rekorder.txt").c_str(), &st), 0);
    mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
    app_records_path[0] = '\0';
    EXPECT_EQ(app_write_high_scores(), 0);  // no path: nothing written
}

TEST(SettingsFile, ReaderTakesTheLastSprogLine) {
    EXPECT_STREQ(read_settings("sprog de\nsprog fr\n"), "fr");
    EXPECT_STREQ(read_settings("sprog de\nsprog\n"), "de");        // a key without a code
    EXPECT_STREQ(read_settings("sprog    pt_BR   \r\n"), "pt_BR");  // blanks and CR around it
    EXPECT_STREQ(read_settings("sprogsv"), "sv");                   // no blank needed, no newline
    EXPECT_STREQ(read_settings("sprog abcdefghijklmnopqrs\n"), "abcdefghijklmno");
    EXPECT_EQ(read_settings(" sprog de\nSPROG de\nlang de\n"), nullptr);
    EXPECT_EQ(read_settings(""), nullptr);
    EXPECT_STREQ(app_settings_lang, "");
    // The rest of a line over 63 bytes is read as a line of its own.
    EXPECT_STREQ(read_settings(std::string(63, 'x') + "sprog nl\n"), "nl");
    EXPECT_EQ(read_settings(std::string(62, 'x') + "sprog nl\n"), nullptr);
    std::string garbage(60000, '\0');
    for (size_t i = 0; i < garbage.size(); i++) garbage[i] = (char)(i * 2654435761u >> 24);
    const char *code = read_settings(garbage + "\nsprog \xff\xfe\n");
    ASSERT_NE(code, nullptr);
    EXPECT_STREQ(code, "\xff\xfe");
    // Only the first 64 KiB of a file are read.
    EXPECT_STREQ(read_settings(std::string(65536 - 9, '\n') + "sprog sv\nsprog da\n"), "sv");
    // No path, or no file: no code.
    app_settings_path[0] = '\0';
    EXPECT_EQ(app_read_settings(), nullptr);
}

TEST(SettingsFile, WriterReplacesTheFileWithOneLine) {
    TempDir dir;
    testutil::write_file(dir / "indstillinger.txt", "sprog de\nother stuff\n");
    std::snprintf(app_settings_path, sizeof app_settings_path, "%s", (dir / "indstillinger.txt").c_str());
    ASSERT_EQ(app_write_settings("pt_BR"), 1);
    EXPECT_EQ(testutil::read_file(dir / "indstillinger.txt"), "sprog pt_BR\n");
    EXPECT_STREQ(app_read_settings(), "pt_BR");
    EXPECT_EQ(testutil::list_dir(dir.path()), std::vector<std::string>{"indstillinger.txt"});
    app_settings_path[0] = '\0';
    EXPECT_EQ(app_write_settings("fr"), 0);
}

TEST(AtomicReplacement, OldFileStaysWholeOnEveryFailure) {
    TempDir dir;
    const std::string old_text = "sprog de\n";
    const std::string file = dir / "indstillinger.txt";
    testutil::write_file(file, old_text);

    // A folder the writer may not write to (as an unprivileged user).
    chmod(dir.path().c_str(), 0555);
    chmod(file.c_str(), 0666);
    int rc = testutil::in_child(
        [&] { return app_replace_file(file.c_str(), "sprog fr\n", 9) == 0 ? 0 : 1; }, true);
    EXPECT_EQ(rc, 0);
    chmod(dir.path().c_str(), 0777);
    EXPECT_EQ(testutil::read_file(file), old_text);

    // A write that fails half-way (the file-size limit stands in for a full disk).
    std::string big(100000, 'x');
    rc = testutil::in_child([&] {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit lim = {4096, 4096};
        setrlimit(RLIMIT_FSIZE, &lim);
        return app_replace_file(file.c_str(), big.data(), big.size()) == 0 ? 0 : 1;
    });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(testutil::read_file(file), old_text);
    EXPECT_EQ(testutil::list_dir(dir.path()), std::vector<std::string>{"indstillinger.txt"});

    // A folder in the file's place, a missing folder and no path at all.
    ::mkdir((dir / "taken").c_str(), 0755);
    EXPECT_EQ(app_replace_file((dir / "taken").c_str(), "x", 1), 0);
    EXPECT_TRUE(testutil::is_dir(dir / "taken"));
    EXPECT_EQ(app_replace_file((dir / "missing/file").c_str(), "x", 1), 0);
    EXPECT_EQ(app_replace_file("", "x", 1), 0);
    EXPECT_EQ(testutil::list_dir(dir.path()), (std::vector<std::string>{"indstillinger.txt", "taken"}));

    // And when nothing fails the new text is there.
    EXPECT_EQ(app_replace_file(file.c_str(), "sprog fr\n", 9), 1);
    EXPECT_EQ(testutil::read_file(file), "sprog fr\n");
}

TEST(DataFiles, OnlyRegularFilesAreReadOrReplaced) {
    TempDir dir;
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    ASSERT_EQ(symlink(fifo.c_str(), (dir / "to_fifo").c_str()), 0);
    ASSERT_EQ(symlink("/dev/zero", (dir / "to_zero").c_str()), 0);
    // A FIFO blocked the start in its open and /dev/zero never ended: each read runs in a
    // child with an alarm, so a hang fails the test instead of stopping it.
    for (const std::string &path : {fifo, dir / "to_fifo", dir / "to_zero", std::string("/dev/null")}) {
        int rc = testutil::in_child([&] {
            alarm(10);
            std::snprintf(app_records_path, sizeof app_records_path, "%s", path.c_str());
            std::snprintf(app_settings_path, sizeof app_settings_path, "%s", path.c_str());
            app_fill_default_high_scores();
            app_read_high_scores();
            for (int i = 0; i < 10; i++) {
                if (app_high_scores[i].score != 15000 - 1500 * i) return 2;
            }
            return app_read_settings() == nullptr ? 0 : 3;
        });
        EXPECT_EQ(rc, 0) << path;
    }
    // Such a file counts as missing and is never replaced by a save (through a link
    // neither).
    for (const std::string &path : {fifo, dir / "to_fifo"}) {
        std::snprintf(app_settings_path, sizeof app_settings_path, "%s", path.c_str());
        EXPECT_EQ(app_write_settings("fr"), 0) << path;
    }
    app_settings_path[0] = '\0';
    struct stat st;
    ASSERT_EQ(lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(lstat((dir / "to_fifo").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(testutil::list_dir(dir.path()), (std::vector<std::string>{"fifo", "to_fifo", "to_zero"}));
}

TEST(AtomicReplacement, ALinkIsFollowedAndThePermissionsStay) {
    // A save turned a linked file into a plain one (the link's target kept the old
    // table) and gave it the umask's mode.
    TempDir dir;
    ASSERT_EQ(::mkdir((dir / "data").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((dir / "elsewhere").c_str(), 0755), 0);
    const std::string target = dir / "elsewhere/scores.txt";
    testutil::write_file(target, "old\n");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    const std::string link = dir / "data/rekorder.txt";
    ASSERT_EQ(symlink("../elsewhere/scores.txt", link.c_str()), 0);
    std::snprintf(app_records_path, sizeof app_records_path, "%s", link.c_str());
    app_fill_default_high_scores();
    ASSERT_EQ(app_write_high_scores(), 1);
    struct stat st;
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(testutil::read_file(target).substr(0, 16), "15000 11 Plimby\n");
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    // The save lock sits beside the link.
    EXPECT_EQ(testutil::list_dir(dir / "data"), (std::vector<std::string>{"rekorder.txt", "rekorder.txt.lock"}));
    EXPECT_EQ(testutil::list_dir(dir / "elsewhere"), std::vector<std::string>{"scores.txt"});

    // A chain of links with an absolute one in it, and a mode wider than the umask's.
    const std::string second = dir / "elsewhere/second";
    ASSERT_EQ(symlink(target.c_str(), second.c_str()), 0);
    ASSERT_EQ(unlink(link.c_str()), 0);
    ASSERT_EQ(symlink("../elsewhere/second", link.c_str()), 0);
    ASSERT_EQ(chmod(target.c_str(), 0666), 0);
    mode_t old_mask = umask(077);
    app_high_scores[0].score = 16000;
    EXPECT_EQ(app_write_high_scores(), 1);
    umask(old_mask);
    EXPECT_EQ(testutil::read_file(target).substr(0, 16), "16000 11 Plimby\n");
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0666u);
    ASSERT_EQ(lstat(second.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));

    // A link to a file that is not there yet: the file is made where the link points.
    ASSERT_EQ(symlink("../elsewhere/new.txt", (dir / "data/indstillinger.txt").c_str()), 0);
    std::snprintf(app_settings_path, sizeof app_settings_path, "%s", (dir / "data/indstillinger.txt").c_str());
    EXPECT_EQ(app_write_settings("da"), 1);
    EXPECT_EQ(testutil::read_file(dir / "elsewhere/new.txt"), "sprog da\n");
    EXPECT_STREQ(app_read_settings(), "da");
    // A loop of links is no file to write.
    ASSERT_EQ(symlink("loop_b", (dir / "data/loop_a").c_str()), 0);
    ASSERT_EQ(symlink("loop_a", (dir / "data/loop_b").c_str()), 0);
    std::snprintf(app_settings_path, sizeof app_settings_path, "%s", (dir / "data/loop_a").c_str());
    EXPECT_EQ(app_write_settings("da"), 0);
    app_settings_path[0] = '\0';
    app_records_path[0] = '\0';
}

TEST(AtomicReplacement, ACrashLeavesATemporaryFileThatALaterStartRemoves) {
    TempDir dir;
    const std::string file = dir / "indstillinger.txt";
    testutil::write_file(file, "sprog de\n");
    // The process dies half-way through writing (the file-size limit's signal kills it).
    std::string big(100000, 'x');
    int rc = testutil::in_child([&] {
        struct rlimit no_core = {0, 0};
        setrlimit(RLIMIT_CORE, &no_core);
        signal(SIGXFSZ, SIG_DFL);
        struct rlimit lim = {4096, 4096};
        setrlimit(RLIMIT_FSIZE, &lim);
        app_replace_file(file.c_str(), big.data(), big.size());
        return 0;
    });
    EXPECT_EQ(rc, 128 + SIGXFSZ);
    EXPECT_EQ(testutil::read_file(file), "sprog de\n");
    std::vector<std::string> names = testutil::list_dir(dir.path());
    ASSERT_EQ(names.size(), 2u);
    const std::string leftover = names[1];
    EXPECT_EQ(leftover.compare(0, 31, "indstillinger.txt.kestrune-tmp-"), 0) << leftover;
    EXPECT_EQ(leftover.size(), 37u) << leftover;

    // Other things beside it, and a leftover beside the target of a linked record file.
    ASSERT_EQ(::mkdir((dir / "other").c_str(), 0755), 0);
    testutil::write_file(dir / "other/scores.txt", "1 1 A\n");
    testutil::write_file(dir / "other/scores.txt.kestrune-tmp-Ab12Cd", "1 1");
    ASSERT_EQ(symlink("other/scores.txt", (dir / "rekorder.txt").c_str()), 0);
    const std::vector<std::string> kept = {"indstillinger.txt.bak", "indstillinger.txt.kestrune-tmp-toolong",
                                           "other.kestrune-tmp-Ab12Cd", "indstillinger.txt.XXXXXX"};
    for (const std::string &name : kept) testutil::write_file(dir / name, "x");
    ASSERT_EQ(::mkdir((dir / "indstillinger.txt.kestrune-tmp-folder").c_str(), 0755), 0);
    std::snprintf(app_settings_path, sizeof app_settings_path, "%s", file.c_str());
    std::snprintf(app_records_path, sizeof app_records_path, "%s", (dir / "rekorder.txt").c_str());

    // A fresh one may be the save of another running game: it stays.
    app_remove_stale_temp_files();
    EXPECT_TRUE(testutil::exists(dir / leftover));
    EXPECT_TRUE(testutil::exists(dir / "other/scores.txt.kestrune-tmp-Ab12Cd"));
    // Older than a minute, it goes.
    struct timeval old_times[2] = {{time(nullptr) - 61, 0}, {time(nullptr) - 61, 0}};
    for (const std::string &name : testutil::list_dir(dir.path())) utimes((dir / name).c_str(), old_times);
    utimes((dir / "other/scores.txt.kestrune-tmp-Ab12Cd").c_str(), old_times);
    app_remove_stale_temp_files();
    EXPECT_FALSE(testutil::exists(dir / leftover));
    EXPECT_FALSE(testutil::exists(dir / "other/scores.txt.kestrune-tmp-Ab12Cd"));
    for (const std::string &name : kept) EXPECT_TRUE(testutil::exists(dir / name)) << name;
    EXPECT_TRUE(testutil::is_dir(dir / "indstillinger.txt.kestrune-tmp-folder"));
    EXPECT_EQ(testutil::read_file(file), "sprog de\n");
    EXPECT_EQ(testutil::read_file(dir / "other/scores.txt"), "1 1 A\n");
    app_settings_path[0] = '\0';
    app_records_path[0] = '\0';
    app_remove_stale_temp_files();  // no paths: nothing to do
}

TEST(DataDirectory, MadeUnderHomeWithItsParents) {
    HomeGuard guard;
    TempDir home;
    setenv("HOME", home.path().c_str(), 1);
    app_setup_data_dir();
    const std::string data = home / ".local/share/kestrune";
    EXPECT_TRUE(testutil::is_dir(data));
    EXPECT_EQ(std::string(app_records_path), data + "/rekorder.txt");
    EXPECT_EQ(std::string(app_settings_path), data + "/indstillinger.txt");
    struct stat st;
    ASSERT_EQ(stat((home / ".local").c_str(), &st), 0);
    mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0755 & ~mask);
    // A second start finds it all there and changes nothing.
    app_setup_data_dir();
    EXPECT_EQ(std::string(app_records_path), data + "/rekorder.txt");

    unsetenv("HOME");
    app_setup_data_dir();
    EXPECT_STREQ(app_records_path, "");
    EXPECT_STREQ(app_settings_path, "");

    // A home too long for any path leaves the files alone rather than use a cut path.
    setenv("HOME", (home.path() + "/" + std::string(5000, 'h')).c_str(), 1);
    app_setup_data_dir();
    EXPECT_STREQ(app_records_path, "");
}

TEST(DataDirectory, EmptyHomeMeansTheRootFolder) {
    HomeGuard guard;
    // Run unprivileged so that nothing is made at the top of the file system.
    int rc = testutil::in_child(
        [] {
            setenv("HOME", "", 1);
            app_setup_data_dir();
            return std::strcmp(app_records_path, "/.local/share/kestrune/rekorder.txt") == 0 &&
                           std::strcmp(app_settings_path, "/.local/share/kestrune/indstillinger.txt") == 0
                       ? 0
                       : 1;
        },
        true);
    EXPECT_EQ(rc, 0);
}

TEST(DataDirectory, HomeThatIsAFile) {
    HomeGuard guard;
    TempDir dir;
    testutil::write_file(dir / "home", "not a folder");
    setenv("HOME", (dir / "home").c_str(), 1);
    app_setup_data_dir();
    EXPECT_EQ(testutil::read_file(dir / "home"), "not a folder");
    app_fill_default_high_scores();
    app_read_high_scores();
    expect_default_row(0);
    EXPECT_EQ(app_write_high_scores(), 0);
    EXPECT_EQ(app_read_settings(), nullptr);
    EXPECT_EQ(app_write_settings("fr"), 0);
    EXPECT_EQ(testutil::list_dir(dir.path()), std::vector<std::string>{"home"});
}
