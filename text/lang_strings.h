// Kestrune: the string tables of the 32 languages (private to text/).
#pragma once
#include "text/text.h"

// Table order is the language index; each holds the 33 strings by slot, then a null pointer.
extern const char *const *const lang_string_tables[LANG_COUNT];

// The same tables by name, so the records can point at them in constant data.
extern const char *const lang_strings_da[LANG_SLOTS + 1];
extern const char *const lang_strings_sv[LANG_SLOTS + 1];
extern const char *const lang_strings_nb[LANG_SLOTS + 1];
extern const char *const lang_strings_fi[LANG_SLOTS + 1];
extern const char *const lang_strings_is[LANG_SLOTS + 1];
extern const char *const lang_strings_en[LANG_SLOTS + 1];
extern const char *const lang_strings_de[LANG_SLOTS + 1];
extern const char *const lang_strings_nl[LANG_SLOTS + 1];
extern const char *const lang_strings_fr[LANG_SLOTS + 1];
extern const char *const lang_strings_it[LANG_SLOTS + 1];
extern const char *const lang_strings_es[LANG_SLOTS + 1];
extern const char *const lang_strings_pt[LANG_SLOTS + 1];
extern const char *const lang_strings_pt_BR[LANG_SLOTS + 1];
extern const char *const lang_strings_pl[LANG_SLOTS + 1];
extern const char *const lang_strings_cs[LANG_SLOTS + 1];
extern const char *const lang_strings_hu[LANG_SLOTS + 1];
extern const char *const lang_strings_ro[LANG_SLOTS + 1];
extern const char *const lang_strings_el[LANG_SLOTS + 1];
extern const char *const lang_strings_tr[LANG_SLOTS + 1];
extern const char *const lang_strings_uk[LANG_SLOTS + 1];
extern const char *const lang_strings_he[LANG_SLOTS + 1];
extern const char *const lang_strings_ar[LANG_SLOTS + 1];
extern const char *const lang_strings_fa[LANG_SLOTS + 1];
extern const char *const lang_strings_ur[LANG_SLOTS + 1];
extern const char *const lang_strings_hi[LANG_SLOTS + 1];
extern const char *const lang_strings_bn[LANG_SLOTS + 1];
extern const char *const lang_strings_th[LANG_SLOTS + 1];
extern const char *const lang_strings_vi[LANG_SLOTS + 1];
extern const char *const lang_strings_id[LANG_SLOTS + 1];
extern const char *const lang_strings_ko[LANG_SLOTS + 1];
extern const char *const lang_strings_ja[LANG_SLOTS + 1];
extern const char *const lang_strings_zh[LANG_SLOTS + 1];
