#!/bin/sh
# Installs what is missing, then builds and runs every test twice: a plain build and a
# build with AddressSanitizer and UndefinedBehaviorSanitizer; between the two, the file
# and script readers are fuzzed for a bounded time.
set -eu
cd "$(dirname "$0")/.."
JOBS=$(nproc 2>/dev/null || echo 2)

./tools/setup.sh

cmake -S . -B build/plain -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/plain -j "$JOBS"
ctest --test-dir build/plain --output-on-failure -j "$JOBS"

# Fuzzing: the file and script readers under libFuzzer (clang), each for a bounded time
# from its seed corpus. Any crash or failed check stops the script.
FUZZ_SECONDS=${FUZZ_SECONDS:-20}
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKESTRUNE_FUZZ=ON
cmake --build build/fuzz -j "$JOBS" --target fuzzers
for target in records settings script; do
    work=build/fuzz/corpus-$target
    rm -rf "$work" && mkdir -p "$work"
    build/fuzz/tests/fuzz/fuzz_$target -max_total_time="$FUZZ_SECONDS" -max_len=4096 \
        -rss_limit_mb=2048 -print_final_stats=1 "$work" tests/fuzz/corpus/$target
done

cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRUNE_SANITIZE=ON
cmake --build build/sanitize -j "$JOBS"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build/sanitize --output-on-failure -j "$JOBS"
