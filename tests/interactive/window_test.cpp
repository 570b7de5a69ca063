// Kestrune tests: the built game in a real X window under xvfb-run, driven by xdotool:
// it opens its window, changes the language, plays a game to its end, takes a name into
// the high-score table, saves both files and quits with status 0 on Escape; a signal on
// the name entry or while the game-over panel stands (seen in screenshots taken with
// xwd) keeps the row, also while another user holds the record file's lock, which holds
// nothing up; and a row refused while the player's own save lock is held is saved when
// the game quits.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../app/test_util.h"

using testutil::TempDir;

namespace {

bool on_path(const char *name) {
    const char *path = std::getenv("PATH");
    std::string p = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= p.size()) {
        size_t end = p.find(':', start);
        if (end == std::string::npos) end = p.size();
        std::string file = p.substr(start, end - start) + "/" + name;
        if (access(file.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

std::string run(const std::string &command) {
    std::string out;
    FILE *p = popen(command.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
}

// Runs a window driver script under xvfb-run with the executable, this home folder and
// any further arguments; returns what it printed.
std::string run_driver(const char *script, const std::string &home, const std::string &more = "") {
    // Under the sanitizers, leak checking is off for the game itself: SDL unloads the X11
    // and D-Bus libraries at exit, and their leftovers cannot be told apart from ours.
    // The game's own code keeps no heap; the in-process tests check it for leaks.
    const char *asan = std::getenv("ASAN_OPTIONS");
    std::string env = "ASAN_OPTIONS='" + std::string(asan ? asan : "") + ":detect_leaks=0' ";
    std::string command = env + "timeout 120 xvfb-run -a -s '-screen 0 1280x1024x24 -noreset' sh '" + script +
                          "' '" KESTRUNE_EXE "' '" + home + "' " + more + " 2>&1";
    // xvfb-run -a picks its display number racily against X servers of other processes:
    // a server that could not start is tried again.
    std::string out;
    for (int attempt = 0; attempt < 3; attempt++) {
        out = run(command);
        if (out.find("Xvfb failed to start") == std::string::npos) break;
    }
    return out;
}

// A table every finished game beats, so that the name entry always opens.
void write_beatable_table(const std::string &data) {
    ASSERT_EQ(std::system(("mkdir -p '" + data + "'").c_str()), 0);
    std::string rows;
    for (int i = 0; i < 10; i++) rows += "-5 1 Row" + std::to_string(i) + "\n";
    testutil::write_file(data + "/rekorder.txt", rows);
}

// Plays a game into the name entry with an audio driver that cannot start, types "Zed"
// and stops the game there with this signal: the row must be in the file.
void quit_on_the_name_entry(const char *signal_name) {
    if (!on_path("xvfb-run")) GTEST_SKIP() << "xvfb-run is not installed";
    ASSERT_TRUE(on_path("xdotool")) << "xdotool is not installed (tools/setup.sh installs it)";

    TempDir home;
    std::string data = home / ".local/share/kestrune";
    write_beatable_table(data);
    std::string out = run_driver(KESTRUNE_WINDOW_QUIT_DRIVER, home.path(), signal_name);
    EXPECT_NE(out.find("window\n"), std::string::npos) << out;
    EXPECT_NE(out.find("status 0"), std::string::npos) << out;
    std::string err = testutil::read_file(home / "err.txt");
    EXPECT_EQ(err.compare(0, 5, "SDL: "), 0) << err;
    EXPECT_NE(err.find("nonexistent"), std::string::npos) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;  // one line

    // Whatever eggs fell into the untouched basket, the score beats every row.
    std::string records = testutil::read_file(data + "/rekorder.txt");
    EXPECT_NE(records.find(" 15 Zed\n-5 1 Row0\n"), std::string::npos) << records;
    EXPECT_NE(records[0], '-') << records;
    EXPECT_EQ(records.find("Row9"), std::string::npos) << records;
}

// Leaves a game at level 15 to be lost and sends the game this signal as soon as a
// screenshot shows the game-over panel: the row the score earned must be in the file,
// under the default name, and the game must end with status 0. With lock_held, another
// user holds the record file's lock all the while.
void quit_in_the_game_over_phase(const char *signal_name, bool lock_held = false) {
    if (!on_path("xvfb-run")) GTEST_SKIP() << "xvfb-run is not installed";
    ASSERT_TRUE(on_path("xdotool")) << "xdotool is not installed (tools/setup.sh installs it)";
    ASSERT_TRUE(on_path("xwd")) << "xwd is not installed (tools/setup.sh installs it)";

    TempDir home;
    std::string data = home / ".local/share/kestrune";
    write_beatable_table(data);
    std::unique_ptr<testutil::LockHolder> holder;
    if (lock_held) {
        holder.reset(new testutil::LockHolder(data + "/rekorder.txt", true));
        ASSERT_TRUE(holder->holding());
    }
    std::string out = run_driver(KESTRUNE_WINDOW_GAME_OVER_DRIVER, home.path(),
                                 std::string("'" KESTRUNE_XWD_PROBE "' ") + signal_name);
    if (lock_held) {
        // Copies of the game take turns under a lock file of their own: another user's
        // lock on the record file is not waited for.
        const size_t ended = out.find("ended in ");
        ASSERT_NE(ended, std::string::npos) << out;
        EXPECT_LT(std::atoi(out.c_str() + ended + 9), 30) << out;
    }
    EXPECT_NE(out.find("window\n"), std::string::npos) << out;
    // The probe tells the panel from the title screen and the level intro's banner.
    EXPECT_NE(out.find("title: no game over"), std::string::npos) << out;
    const size_t before = out.find("before ");
    ASSERT_NE(before, std::string::npos) << out;
    EXPECT_GE(std::atoi(out.c_str() + before + 7), 1) << out;
    ASSERT_NE(out.find("\ngame over\n"), std::string::npos) << out;
    EXPECT_NE(out.find("status 0"), std::string::npos) << out;
    EXPECT_EQ(testutil::read_file(home / "err.txt"), "");

    // Whatever eggs fell into the untouched basket, the score beats every row.
    std::string records = testutil::read_file(data + "/rekorder.txt");
    EXPECT_NE(records.find(" 15 Plimby\n-5 1 Row0\n"), std::string::npos) << records;
    EXPECT_NE(records[0], '-') << records;
    EXPECT_EQ(records.find("Row9"), std::string::npos) << records;
}

}  // namespace

TEST(Window, PlayAGameIntoTheTableAndQuit) {
    if (!on_path("xvfb-run")) GTEST_SKIP() << "xvfb-run is not installed";
    ASSERT_TRUE(on_path("xdotool")) << "xdotool is not installed (tools/setup.sh installs it)";

    TempDir home;
    std::string data = home / ".local/share/kestrune";
    write_beatable_table(data);
    std::string out = run_driver(KESTRUNE_WINDOW_DRIVER, home.path());
    EXPECT_NE(out.find("status 0"), std::string::npos) << out;
    // A desktop 1024 pixels high gives the window at scale 1.
    EXPECT_NE(out.find("width 1000\nheight 736\n"), std::string::npos) << out;

    std::string records = testutil::read_file(data + "/rekorder.txt");
    ASSERT_FALSE(records.empty());
    EXPECT_NE(records[0], '-') << records;  // the game's own score in row 0
    EXPECT_NE(records.find(" 15 Zed\n-5 1 Row0\n"), std::string::npos) << records;
    EXPECT_EQ(records.find("Row9"), std::string::npos) << records;
    EXPECT_EQ(testutil::read_file(data + "/indstillinger.txt"), "sprog de\n");
}

TEST(Window, SilentWithoutAudioAndSigtermOnTheNameEntryKeepsTheRow) {
    // An audio driver that could not start stopped the game before its window opened,
    // and a quit on the name entry lost the row.
    quit_on_the_name_entry("TERM");
}

TEST(Window, SighupOnTheNameEntryKeepsTheRow) {
    // A closed terminal (SIGHUP) killed the game on the name entry and lost the row.
    quit_on_the_name_entry("HUP");
}

// SIGINT (Ctrl+C in the terminal) or SIGTERM while the game-over panel stood ended the
// game without the row its score had earned.
TEST(Window, SigintInTheGameOverPhaseKeepsTheRow) { quit_in_the_game_over_phase("INT"); }

TEST(Window, SigtermInTheGameOverPhaseKeepsTheRow) { quit_in_the_game_over_phase("TERM"); }

TEST(Window, ALockHeldByAnotherUserCostsNoRow) {
    // Any user who may read the record file can hold its lock: the row was refused after
    // the wait and gone when the game ended; later every save waited for it.
    if (geteuid() != 0) GTEST_SKIP() << "needs a second user to hold the lock";
    quit_in_the_game_over_phase("TERM", true);
}

TEST(Window, TwoCopiesWithOneHomeKeepBothRows) {
    // Two copies of the game with the same home: the second to commit wrote the table it
    // had read at its start, and the first copy's row was gone.
    if (!on_path("xvfb-run")) GTEST_SKIP() << "xvfb-run is not installed";
    ASSERT_TRUE(on_path("xdotool")) << "xdotool is not installed (tools/setup.sh installs it)";
    TempDir home;
    std::string data = home / ".local/share/kestrune";
    write_beatable_table(data);
    std::string out = run_driver(KESTRUNE_WINDOW_TWO_COPIES_DRIVER, home.path());
    EXPECT_NE(out.find("windows\n"), std::string::npos) << out;
    EXPECT_NE(out.find("status 0 0"), std::string::npos) << out;
    // Whatever eggs fell into the untouched baskets, both scores beat every row.
    std::string records = testutil::read_file(data + "/rekorder.txt");
    const size_t ann = records.find(" 15 Ann\n");
    const size_t bo = records.find(" 15 Bo\n");
    const size_t old_rows = records.find("-5 1 Row0\n");
    EXPECT_NE(ann, std::string::npos) << records;
    EXPECT_NE(bo, std::string::npos) << records;
    EXPECT_TRUE(ann < old_rows && bo < old_rows) << records;  // both above the old rows
    EXPECT_EQ(records.find("Row8"), std::string::npos) << records;
    EXPECT_EQ(testutil::list_dir(data), (std::vector<std::string>{"rekorder.txt", "rekorder.txt.lock"}));
}

TEST(Window, ARowRefusedWhileTheSaveLockIsHeldIsSavedAtTheQuit) {
    // A copy that found the lock held past the wait saved without it, over the rows of
    // the copy that held it.
    if (!on_path("xvfb-run")) GTEST_SKIP() << "xvfb-run is not installed";
    ASSERT_TRUE(on_path("xdotool")) << "xdotool is not installed (tools/setup.sh installs it)";
    TempDir home;
    std::string data = home / ".local/share/kestrune";
    write_beatable_table(data);
    testutil::write_file(data + "/rekorder.txt.lock", "");
    ASSERT_EQ(chmod((data + "/rekorder.txt.lock").c_str(), 0600), 0);
    std::string out = run_driver(KESTRUNE_WINDOW_LOCK_HELD_DRIVER, home.path());
    EXPECT_NE(out.find("held\nwindow\n"), std::string::npos) << out;
    EXPECT_NE(out.find("refused\nwritten while held: 0\n"), std::string::npos) << out;
    EXPECT_NE(out.find("status 0"), std::string::npos) << out;
    // One line for the refused commit; the try at the quit went through.
    EXPECT_EQ(testutil::read_file(home / "err.txt"),
              "high scores not saved: " + data + "/rekorder.txt: another copy of the game is holding rekorder.txt.lock\n");
    std::string records = testutil::read_file(data + "/rekorder.txt");
    EXPECT_NE(records.find(" 15 Zed\n-5 1 Row0\n"), std::string::npos) << records;
    EXPECT_NE(records[0], '-') << records;
}
