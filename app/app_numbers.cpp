// Kestrune: reading decimal numbers out of the game's text files. Like "%d" in sscanf,
// but a number beyond the int32 range gives the nearest int32 instead of undefined
// behaviour.
#include <cctype>
#include <cstdint>

#include "app/app.h"

int app_scan_int(const char **cursor, int32_t *value) {
    const char *p = *cursor;
    while (std::isspace((unsigned char)*p)) p++;
    int negative = 0;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        p++;
    }
    if (!std::isdigit((unsigned char)*p)) return 0;
    // Counted in int64 towards the limit and held there: no digit string can overflow.
    const int64_t limit = negative ? -(int64_t)INT32_MIN : (int64_t)INT32_MAX;
    int64_t magnitude = 0;
    while (std::isdigit((unsigned char)*p)) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit) magnitude = limit;
        p++;
    }
    *value = (int32_t)(negative ? -magnitude : magnitude);
    *cursor = p;
    return 1;
}
