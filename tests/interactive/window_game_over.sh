#!/bin/sh
# Plays the built game in a real X window (run under xvfb-run): a game at level 15 is
# started with Enter and left to be lost; screenshots are taken every 0.2 s, and as soon
# as one shows the game-over panel the game is sent a signal (SIGTERM unless named).
# Prints "window" once the window is shown, "title: ..." with the probe's verdict on the
# title screen, "before N" with the number of screenshots of the game without the panel,
# "game over" once it is seen, then "status N" with the game's exit status. The last
# screenshot is kept as shot.xwd in the home folder.
# Arguments: the executable, the home folder to give it, the screenshot probe and the
# signal's name (TERM, INT, HUP).
set -u
exe=$1
home=$2
probe=$3
sig=${4:-TERM}
export HOME="$home" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy

# The signal at its default, as a terminal's shell would give it (a background job of sh
# would ignore SIGINT).
env --default-signal="$sig" "$exe" --sprog en --bane 15 2>"$home/err.txt" &
pid=$!

. "$(dirname "$0")/window_game.sh"

# 0 when the screenshot shows the game-over panel.
probe_window() {
    timeout 10 xwd -id "$window" -silent -out "$home/shot.xwd" && "$probe" <"$home/shot.xwd"
}

find_window
echo window

# The title screen (once the window has taken its first keys), then Enter starts the
# game. Untouched, level 15 is lost in about eight seconds, and the panel then stands for
# 201 ticks (3.4 s); the search leaves room for a slow machine.
sleep 0.5
echo "title: $(probe_window)"
xdotool key Return
before=0
seen=0
start=$(date +%s)
while [ $(($(date +%s) - start)) -lt 40 ] && alive; do
    if probe_window >/dev/null; then
        seen=1
        break
    fi
    before=$((before + 1))
    sleep 0.2
done
echo "before $before"
if [ $seen -eq 1 ]; then echo "game over"; fi
kill -"$sig" "$pid"
finish
