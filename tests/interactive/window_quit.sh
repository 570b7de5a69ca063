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

. "$(dirname "$0")/window_game.sh"

find_window
echo window

type_name_after_a_lost_game
sleep 0.5
kill -"$sig" "$pid"
finish
