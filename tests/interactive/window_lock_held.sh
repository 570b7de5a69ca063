#!/bin/sh
# Plays the built game in a real X window (run under xvfb-run) while another process holds
# the player's own save lock, as a copy of the game stuck in its save would: a game at
# level 15 is started with Enter and left to be lost, and "Zed" is typed on the name entry
# and committed with Enter. Once the game has said on standard error that the high scores
# were not saved, the holder lets go and the game gets SIGTERM.
# Prints "window" once the window is shown, "held" once the lock is held, "refused" when
# the game gave up the save, "written while held: N" with the record file's lines that
# hold Zed at that moment, then "ended in N" and "status N" (window_game.sh).
# Arguments: the executable and the home folder to give it (its stderr goes to err.txt);
# the lock file must be there.
set -u
exe=$1
home=$2
data="$home/.local/share/kestrune"
lock="$data/rekorder.txt.lock"
export HOME="$home" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy

# flock -F becomes the sleep, which holds the lock until it is killed.
flock -F "$lock" sleep 110 </dev/null >/dev/null 2>&1 &
holder=$!
i=0
while [ $i -lt 100 ] && flock -n "$lock" true; do sleep 0.1; i=$((i + 1)); done
if ! flock -n "$lock" true; then echo held; fi

env --default-signal=TERM "$exe" --sprog en --bane 15 2>"$home/err.txt" &
pid=$!

. "$(dirname "$0")/window_game.sh"

find_window
echo window

# Enter commits the name, and the commit waits ten seconds for the lock.
type_name_after_a_lost_game
xdotool key Return
i=0
while [ $i -lt 200 ] && ! grep -q "not saved" "$home/err.txt"; do sleep 0.1; i=$((i + 1)); done
if grep -q "not saved" "$home/err.txt"; then echo refused; fi
echo "written while held: $(grep -c Zed "$data/rekorder.txt")"

kill "$holder"
wait "$holder"
kill -TERM "$pid"
finish
