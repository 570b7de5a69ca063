#!/bin/sh
# Plays the built game in a real X window (run under xvfb-run): L on the title screen,
# then a game at level 15 that is left to be lost, the name "Zed" typed into the table,
# and Escape until the game quits. Prints "status N" with the game's exit status.
# Arguments: the executable and the home folder to give it.
set -u
exe=$1
home=$2
data="$home/.local/share/kestrune"
export HOME="$home" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy

"$exe" --sprog en --bane 15 &
pid=$!

. "$(dirname "$0")/window_game.sh"

find_window
xwininfo -id "$window" | sed -n 's/^ *Width: */width /p; s/^ *Height: */height /p'

# The language key writes the settings file (once the window has taken its first keys).
sleep 0.3
xdotool key l
i=0
while [ $i -lt 100 ] && [ ! -f "$data/indstillinger.txt" ]; do sleep 0.1; i=$((i + 1)); done

# Enter starts the game. Each round offers the name and Enter, which also ends the
# game-over phase early; once the name entry is open, the next round fills and commits
# it. The letters are harmless while the game runs.
xdotool key Return
i=0
while [ $i -lt 200 ] && alive; do
    sleep 0.3
    if grep -q Zed "$data/rekorder.txt" 2>/dev/null; then break; fi
    xdotool type --delay 20 Zed
    xdotool key Return
    i=$((i + 1))
done

# Escape goes back one screen at a time and quits from the title.
i=0
while [ $i -lt 6 ] && alive; do
    xdotool key Escape
    sleep 0.5
    i=$((i + 1))
done
finish
