// Kestrune: the 33 interface strings of every language, by StringSlot, each table
// ended by a null pointer. The texts live in text/strings/<code>.inc, which the
// text-picture generator reads as well, so no text is written twice.
#include "text/lang_strings.h"

extern const char *const lang_strings_da[LANG_SLOTS + 1] = {
#include "text/strings/da.inc"
    nullptr};
extern const char *const lang_strings_sv[LANG_SLOTS + 1] = {
#include "text/strings/sv.inc"
    nullptr};
extern const char *const lang_strings_nb[LANG_SLOTS + 1] = {
#include "text/strings/nb.inc"
    nullptr};
extern const char *const lang_strings_fi[LANG_SLOTS + 1] = {
#include "text/strings/fi.inc"
    nullptr};
extern const char *const lang_strings_is[LANG_SLOTS + 1] = {
#include "text/strings/is.inc"
    nullptr};
extern const char *const lang_strings_en[LANG_SLOTS + 1] = {
#include "text/strings/en.inc"
    nullptr};
extern const char *const lang_strings_de[LANG_SLOTS + 1] = {
#include "text/strings/de.inc"
    nullptr};
extern const char *const lang_strings_nl[LANG_SLOTS + 1] = {
#include "text/strings/nl.inc"
    nullptr};
extern const char *const lang_strings_fr[LANG_SLOTS + 1] = {
#include "text/strings/fr.inc"
    nullptr};
extern const char *const lang_strings_it[LANG_SLOTS + 1] = {
#include "text/strings/it.inc"
    nullptr};
extern const char *const lang_strings_es[LANG_SLOTS + 1] = {
#include "text/strings/es.inc"
    nullptr};
extern const char *const lang_strings_pt[LANG_SLOTS + 1] = {
#include "text/strings/pt.inc"
    nullptr};
extern const char *const lang_strings_pt_BR[LANG_SLOTS + 1] = {
#include "text/strings/pt_BR.inc"
    nullptr};
extern const char *const lang_strings_pl[LANG_SLOTS + 1] = {
#include "text/strings/pl.inc"
    nullptr};
extern const char *const lang_strings_cs[LANG_SLOTS + 1] = {
#include "text/strings/cs.inc"
    nullptr};
extern const char *const lang_strings_hu[LANG_SLOTS + 1] = {
#include "text/strings/hu.inc"
    nullptr};
extern const char *const lang_strings_ro[LANG_SLOTS + 1] = {
#include "text/strings/ro.inc"
    nullptr};
extern const char *const lang_strings_el[LANG_SLOTS + 1] = {
#include "text/strings/el.inc"
    nullptr};
extern const char *const lang_strings_tr[LANG_SLOTS + 1] = {
#include "text/strings/tr.inc"
    nullptr};
extern const char *const lang_strings_uk[LANG_SLOTS + 1] = {
#include "text/strings/uk.inc"
    nullptr};
extern const char *const lang_strings_he[LANG_SLOTS + 1] = {
#include "text/strings/he.inc"
    nullptr};
extern const char *const lang_strings_ar[LANG_SLOTS + 1] = {
#include "text/strings/ar.inc"
    nullptr};
extern const char *const lang_strings_fa[LANG_SLOTS + 1] = {
#include "text/strings/fa.inc"
    nullptr};
extern const char *const lang_strings_ur[LANG_SLOTS + 1] = {
#include "text/strings/ur.inc"
    nullptr};
extern const char *const lang_strings_hi[LANG_SLOTS + 1] = {
#include "text/strings/hi.inc"
    nullptr};
extern const char *const lang_strings_bn[LANG_SLOTS + 1] = {
#include "text/strings/bn.inc"
    nullptr};
extern const char *const lang_strings_th[LANG_SLOTS + 1] = {
#include "text/strings/th.inc"
    nullptr};
extern const char *const lang_strings_vi[LANG_SLOTS + 1] = {
#include "text/strings/vi.inc"
    nullptr};
extern const char *const lang_strings_id[LANG_SLOTS + 1] = {
#include "text/strings/id.inc"
    nullptr};
extern const char *const lang_strings_ko[LANG_SLOTS + 1] = {
#include "text/strings/ko.inc"
    nullptr};
extern const char *const lang_strings_ja[LANG_SLOTS + 1] = {
#include "text/strings/ja.inc"
    nullptr};
extern const char *const lang_strings_zh[LANG_SLOTS + 1] = {
#include "text/strings/zh.inc"
    nullptr};

const char *const *const lang_string_tables[LANG_COUNT] = {
    lang_strings_da,
    lang_strings_sv,
    lang_strings_nb,
    lang_strings_fi,
    lang_strings_is,
    lang_strings_en,
    lang_strings_de,
    lang_strings_nl,
    lang_strings_fr,
    lang_strings_it,
    lang_strings_es,
    lang_strings_pt,
    lang_strings_pt_BR,
    lang_strings_pl,
    lang_strings_cs,
    lang_strings_hu,
    lang_strings_ro,
    lang_strings_el,
    lang_strings_tr,
    lang_strings_uk,
    lang_strings_he,
    lang_strings_ar,
    lang_strings_fa,
    lang_strings_ur,
    lang_strings_hi,
    lang_strings_bn,
    lang_strings_th,
    lang_strings_vi,
    lang_strings_id,
    lang_strings_ko,
    lang_strings_ja,
    lang_strings_zh,
};
