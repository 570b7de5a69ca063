// Kestrune: the signals the game takes in hand. Writes past the file-size limit or into
// a closed pipe fail with an error the writers report, instead of killing the game; a
// closed terminal (SIGHUP) asks the interactive game to quit, as SIGTERM and SIGINT do
// through SDL.
#include <signal.h>

#include "app/app.h"

namespace {

// Set by the SIGHUP handler, taken by the main loop.
volatile sig_atomic_t hangup_pending = 0;

void note_hangup(int) { hangup_pending = 1; }

void ignore_signal(int signal_number) {
    struct sigaction action = {};
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    sigaction(signal_number, &action, nullptr);
}

}  // namespace

void app_ignore_write_signals() {
    // A file-size limit or a closed pipe killed the game mid-write: now the write fails.
    ignore_signal(SIGXFSZ);
    ignore_signal(SIGPIPE);
}

void app_catch_hangup() {
    struct sigaction action = {};
    // A game started with SIGHUP ignored (nohup) is meant to outlive its terminal, as
    // SDL leaves SIGINT and SIGTERM alone when they are ignored.
    if (sigaction(SIGHUP, nullptr, &action) != 0 || action.sa_handler == SIG_IGN) return;
    action = {};
    action.sa_handler = note_hangup;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGHUP, &action, nullptr);
}

int app_take_hangup() {
    if (!hangup_pending) return 0;
    hangup_pending = 0;
    return 1;
}
