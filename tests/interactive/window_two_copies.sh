#!/bin/sh
# Runs two copies of the built game at once in real X windows (under xvfb-run) with the
# same home folder: both start a game at level 15 that is left to be lost, then "Ann" is
# typed into the first copy's name entry and committed, and after it "Bo" into the
# second's. Both copies then quit on Escape. Prints "windows" once both are shown, then
# "status A B" with their exit statuses.
# Arguments: the executable and the home folder to give them.
set -u
exe=$1
home=$2
export HOME="$home" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy

"$exe" --sprog en --bane 15 &
first=$!
"$exe" --sprog en --bane 15 &
second=$!

alive() { kill -0 "$1" 2>/dev/null; }
finish() {
    i=0
    while [ $i -lt 100 ] && { alive "$first" || alive "$second"; }; do sleep 0.1; i=$((i + 1)); done
    for pid in "$first" "$second"; do
        if alive "$pid"; then kill -KILL "$pid"; fi
    done
    wait "$first"
    a=$?
    wait "$second"
    echo "status $a $?"
    exit 0
}

window_of() { timeout 30 xdotool search --sync --all --onlyvisible --pid "$1" --classname kestrune | head -n 1; }
a=$(window_of "$first")
b=$(window_of "$second")
if [ -z "$a" ] || [ -z "$b" ] || [ "$a" = "$b" ]; then
    echo "no windows"
    finish
fi
echo windows

# Keys go to the window that has the input focus (there is no window manager to give it).
keys() {
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    sleep 0.3
    shift
    "$@"
}

# Enter starts each game (once its window has taken its first keys). Untouched, level 15
# is lost in about eight seconds and the name entry opens 201 ticks (3.4 s) later; the
# wait leaves room for a slow machine.
sleep 0.5
keys "$a" xdotool key Return
keys "$b" xdotool key Return
sleep 20
keys "$a" xdotool type --delay 50 Ann
xdotool key Return
sleep 1
keys "$b" xdotool type --delay 50 Bo
xdotool key Return
sleep 1

# Escape on the title screen quits each copy.
keys "$a" xdotool key Escape
keys "$b" xdotool key Escape
finish
