# Sourced by the window drivers, with $pid the game's process: whether it still runs, how
# it is waited for at the end, its window, and a lost game into the name entry.

alive() { kill -0 "$pid" 2>/dev/null; }

# Gives the game ten seconds to end, kills it past them, and prints "ended in N" with the
# tenths of a second it took, then "status N" with its exit status (or "status hung");
# ends the driver.
finish() {
    i=0
    while [ $i -lt 100 ] && alive; do sleep 0.1; i=$((i + 1)); done
    echo "ended in $i"
    if alive; then
        kill -KILL "$pid"
        wait "$pid"
        echo "status hung"
        exit 1
    fi
    wait "$pid"
    echo "status $?"
    exit 0
}

# Sets $window to the game's window once it is shown; without one, prints "no window"
# and finishes.
find_window() {
    window=$(timeout 30 xdotool search --sync --onlyvisible --classname kestrune | head -n 1)
    if [ -z "$window" ]; then
        echo "no window"
        finish
    fi
}

# Starts a game with Enter (once the window has taken its first keys) and types "Zed" on
# the name entry. Untouched, level 15 is lost in about eight seconds, and the name entry
# opens 201 ticks (3.4 s) later; the wait leaves room for a slow machine.
type_name_after_a_lost_game() {
    sleep 0.5
    xdotool key Return
    sleep 20
    xdotool type --delay 50 Zed
}
