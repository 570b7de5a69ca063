#!/bin/sh
# Plays the built game in a real X window (run under xvfb-run) with an audio driver that
# cannot start: a game at level 15 is started with Enter and left to be lost, "Zed" is
# typed on the name entry that follows, and the game is stopped there with a signal
# (SIGTERM unless named). Prints "window" once the window is shown, then "status N" with
# the game's exit status.
# Arguments: the executable, the home folder to give it (its stderr goes to err.txt) and
# the signal's name (TERM, HUP, INT).
set -u
exe=$1
home=$2
sig=${3:-TERM}
export HOME="$home" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=nonexistent

# The signal at its default, as a terminal's shell would give it (a background job of sh
# would ignore SIGINT).
env --default-signal="$sig" "$exe" --sprog en --bane 15 2>"$home/err.txt" &
pid=$!

alive() { kill -0 "$pid" 2>/dev/null; }
finish() {
    i=0
    while [ $i -lt 100 ] && alive; do sleep 0.1; i=$((i + 1)); done
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

window=$(timeout 30 xdotool search --sync --onlyvisible --classname kestrune | head -n 1)
if [ -z "$window" ]; then
    echo "no window"
    finish
fi
echo window

# Enter starts the game (once the window has taken its first keys). Untouched, level 15
# is lost in about eight seconds, and the name entry opens 201 ticks (3.4 s) later; the
# wait leaves room for a slow machine. The letters are typed on the name entry.
sleep 0.5
xdotool key Return
sleep 20
xdotool type --delay 50 Zed
sleep 0.5
kill -"$sig" "$pid"
finish
