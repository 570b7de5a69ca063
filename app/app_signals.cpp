// Kestrune: the signals the game takes in hand. Writes past the file-size limit or into
// a closed pipe fail with an error the writers report, instead of killing the game.
#include <signal.h>

#include "app/app.h"

namespace {

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
