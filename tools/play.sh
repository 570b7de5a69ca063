#!/bin/sh
# Installs what is missing, builds the game and starts it. Arguments go to the game.
set -eu
cd "$(dirname "$0")/.."
./tools/setup.sh
cmake -S . -B build/plain -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/plain -j "$(nproc 2>/dev/null || echo 2)" --target kestrune
exec ./build/plain/kestrune "$@"
