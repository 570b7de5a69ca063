// Kestrune: names of the high-score table as UTF-8 text: where a byte limit may cut a
// name, and which characters count as blank around it.
#include "app/app.h"

namespace {

bool continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The byte length of the blank character that starts at s (n bytes there), or 0. Blank
// is every character Unicode calls white space: the ASCII ones, U+0085, the no-break
// space U+00A0, U+1680, U+2000..U+200A, U+2028, U+2029, U+202F, U+205F and the
// ideographic space U+3000.
size_t blank_at(const unsigned char *s, size_t n) {
    if (n >= 1 && (s[0] == ' ' || (s[0] >= 0x09 && s[0] <= 0x0D))) return 1;
    if (n >= 2 && s[0] == 0xC2 && (s[1] == 0x85 || s[1] == 0xA0)) return 2;
    if (n < 3) return 0;
    if (s[0] == 0xE1 && s[1] == 0x9A && s[2] == 0x80) return 3;  // U+1680
    if (s[0] == 0xE2 && s[1] == 0x80 && ((s[2] >= 0x80 && s[2] <= 0x8A) || s[2] == 0xA8 || s[2] == 0xA9 || s[2] == 0xAF))
        return 3;                                                // U+2000..U+200A, U+2028, U+2029, U+202F
    if (s[0] == 0xE2 && s[1] == 0x81 && s[2] == 0x9F) return 3;  // U+205F
    if (s[0] == 0xE3 && s[1] == 0x80 && s[2] == 0x80) return 3;  // U+3000
    return 0;
}

}  // namespace

size_t app_utf8_cut(const char *text, size_t length, size_t limit) {
    if (length <= limit) return length;
    const unsigned char *s = (const unsigned char *)text;
    if (!continuation(s[limit])) return limit;
    // The first byte left out continues a character: the cut moves to that character's
    // first byte (at most three bytes back). Bytes that are no UTF-8 are cut where they lie.
    size_t j = limit;
    for (int steps = 0; steps < 3 && j > 0 && continuation(s[j]); steps++) j--;
    return s[j] >= 0xC0 ? j : limit;
}

const char *app_trim_blanks(const char *text, size_t *length) {
    const unsigned char *s = (const unsigned char *)text;
    size_t n = *length;
    for (size_t k; n > 0 && (k = blank_at(s, n)) > 0;) {
        s += k;
        n -= k;
    }
    while (n > 0) {
        // The last character starts at most three bytes before the end.
        size_t start = n - 1;
        for (int steps = 0; steps < 3 && start > 0 && continuation(s[start]); steps++) start--;
        if (blank_at(s + start, n - start) != n - start) break;
        n = start;
    }
    *length = n;
    return (const char *)s;
}
