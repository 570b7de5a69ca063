// Kestrune tests: the signals the shell takes in hand, in forked children: a save past
// the file-size limit fails and keeps the old file whole, and SIGHUP is only noted.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/app.h"
#include "test_util.h"

using testutil::TempDir;

TEST(Signals, ASaveOverTheFileSizeLimitFailsAndKeepsTheOldFile) {
    // Past a file-size limit a save killed the game with SIGXFSZ and left its temporary
    // file beside the record file.
    TempDir dir;
    const std::string path = dir / "rekorder.txt";
    app_fill_default_high_scores();
    char text[APP_RECORDS_TEXT_ROOM];
    const size_t used = app_format_high_scores(text, sizeof text);
    ASSERT_GT(used, 0u);
    const std::string old(text, used);
    testutil::write_file(path, old);

    const int status = testutil::in_child([&] {
        signal(SIGXFSZ, SIG_DFL);  // as a shell starts the game, whatever the test runner did
        app_ignore_write_signals();
        std::snprintf(app_records_path, sizeof app_records_path, "%s", path.c_str());
        for (int i = 0; i < 10; i++) {
            std::snprintf(app_high_scores[i].name, sizeof app_high_scores[i].name, "Navnet%09d", i);
            app_high_scores[i].score = 1000000000 - i;
        }
        // Ten such rows take well over 64 bytes; the old file's folder stays writable.
        const struct rlimit limit = {64, 64};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 3;
        return app_write_high_scores() == 0 ? 0 : 2;
    });
    EXPECT_EQ(status, 0) << "2: reported as saved; 128 + 25: killed by SIGXFSZ";
    EXPECT_EQ(testutil::read_file(path), old);
    EXPECT_EQ(testutil::list_dir(dir.path()), (std::vector<std::string>{"rekorder.txt", "rekorder.txt.lock"}));
}

TEST(Signals, AHangupIsNotedForTheMainLoopUnlessIgnored) {
    const int noted = testutil::in_child([] {
        signal(SIGHUP, SIG_DFL);
        app_catch_hangup();
        raise(SIGHUP);  // without the handler this ends the child
        if (app_take_hangup() != 1) return 2;
        return app_take_hangup() == 0 ? 0 : 3;  // taken once
    });
    EXPECT_EQ(noted, 0);
    // Started with SIGHUP ignored (nohup), the game is meant to outlive its terminal.
    const int ignored = testutil::in_child([] {
        signal(SIGHUP, SIG_IGN);
        app_catch_hangup();
        raise(SIGHUP);
        return app_take_hangup() == 0 ? 0 : 2;
    });
    EXPECT_EQ(ignored, 0);
}
