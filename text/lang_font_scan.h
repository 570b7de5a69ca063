// Kestrune: the test of a UTF-8 string against the bitmap font's blocks (private to text/).
#pragma once

// 1 when every character of s is one the bitmap font can draw (ASCII and Latin up to
// U+024F, Greek, basic Cyrillic with GHE WITH UPTURN, the Vietnamese letters, U+2013
// and U+2019) and every multi-byte sequence is whole; 0 otherwise or for a NULL s.
int lang_font_covers(const char *s);
