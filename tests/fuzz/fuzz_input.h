// Kestrune fuzzing: the fuzzer's bytes as a read-only stream, as the readers get a file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

inline FILE *fuzz_open_bytes(const uint8_t *data, size_t size) {
    if (size == 0) return std::fopen("/dev/null", "r");
    return fmemopen(const_cast<uint8_t *>(data), size, "r");
}
