// Kestrune text-picture generator: the language table. The strings are the game's own
// files, included here as the game includes them, so the pictures always match the texts.
#include "gen_languages.h"

namespace {

const char *const strings_da[] = {
#include "text/strings/da.inc"
};
const char *const strings_sv[] = {
#include "text/strings/sv.inc"
};
const char *const strings_nb[] = {
#include "text/strings/nb.inc"
};
const char *const strings_fi[] = {
#include "text/strings/fi.inc"
};
const char *const strings_is[] = {
#include "text/strings/is.inc"
};
const char *const strings_en[] = {
#include "text/strings/en.inc"
};
const char *const strings_de[] = {
#include "text/strings/de.inc"
};
const char *const strings_nl[] = {
#include "text/strings/nl.inc"
};
const char *const strings_fr[] = {
#include "text/strings/fr.inc"
};
const char *const strings_it[] = {
#include "text/strings/it.inc"
};
const char *const strings_es[] = {
#include "text/strings/es.inc"
};
const char *const strings_pt[] = {
#include "text/strings/pt.inc"
};
const char *const strings_pt_BR[] = {
#include "text/strings/pt_BR.inc"
};
const char *const strings_pl[] = {
#include "text/strings/pl.inc"
};
const char *const strings_cs[] = {
#include "text/strings/cs.inc"
};
const char *const strings_hu[] = {
#include "text/strings/hu.inc"
};
const char *const strings_ro[] = {
#include "text/strings/ro.inc"
};
const char *const strings_el[] = {
#include "text/strings/el.inc"
};
const char *const strings_tr[] = {
#include "text/strings/tr.inc"
};
const char *const strings_uk[] = {
#include "text/strings/uk.inc"
};
const char *const strings_he[] = {
#include "text/strings/he.inc"
};
const char *const strings_ar[] = {
#include "text/strings/ar.inc"
};
const char *const strings_fa[] = {
#include "text/strings/fa.inc"
};
const char *const strings_ur[] = {
#include "text/strings/ur.inc"
};
const char *const strings_hi[] = {
#include "text/strings/hi.inc"
};
const char *const strings_bn[] = {
#include "text/strings/bn.inc"
};
const char *const strings_th[] = {
#include "text/strings/th.inc"
};
const char *const strings_vi[] = {
#include "text/strings/vi.inc"
};
const char *const strings_id[] = {
#include "text/strings/id.inc"
};
const char *const strings_ko[] = {
#include "text/strings/ko.inc"
};
const char *const strings_ja[] = {
#include "text/strings/ja.inc"
};
const char *const strings_zh[] = {
#include "text/strings/zh.inc"
};

#define CHECK_COUNT(code) static_assert(sizeof strings_##code / sizeof *strings_##code == GEN_SLOTS, #code ": 33 strings");
CHECK_COUNT(da) CHECK_COUNT(sv) CHECK_COUNT(nb) CHECK_COUNT(fi) CHECK_COUNT(is) CHECK_COUNT(en)
CHECK_COUNT(de) CHECK_COUNT(nl) CHECK_COUNT(fr) CHECK_COUNT(it) CHECK_COUNT(es) CHECK_COUNT(pt)
CHECK_COUNT(pt_BR) CHECK_COUNT(pl) CHECK_COUNT(cs) CHECK_COUNT(hu) CHECK_COUNT(ro) CHECK_COUNT(el)
CHECK_COUNT(tr) CHECK_COUNT(uk) CHECK_COUNT(he) CHECK_COUNT(ar) CHECK_COUNT(fa) CHECK_COUNT(ur)
CHECK_COUNT(hi) CHECK_COUNT(bn) CHECK_COUNT(th) CHECK_COUNT(vi) CHECK_COUNT(id) CHECK_COUNT(ko)
CHECK_COUNT(ja) CHECK_COUNT(zh)

// The bitmap font's face for Latin, Greek and Cyrillic, so numbers filled into a string
// look like the string around them.
const GenScript LATIN = {"Latin", "DejaVu Sans", 38, 68};
// Vietnamese stacks two marks on a capital: a little smaller, so they stay in the piece.
const GenScript VIETNAMESE = {"Vietnamese", "DejaVu Sans", 36, 68};
const GenScript HEBREW = {"Hebrew", "Noto Sans Hebrew, DejaVu Sans", 38, 70};
const GenScript ARABIC = {"Arabic", "Noto Sans Arabic, DejaVu Sans", 38, 64};
// Nastaliq needs almost twice the height of Naskh for the same letter size: in a 34-pixel
// line it would shrink below reading size, so Urdu text is set in Naskh, as Urdu
// interfaces commonly are.
const GenScript URDU = {"Urdu", "Noto Naskh Arabic, DejaVu Sans", 46, 80};
const GenScript DEVANAGARI = {"Devanagari", "Noto Sans Devanagari, DejaVu Sans", 40, 70};
const GenScript BENGALI = {"Bengali", "Noto Sans Bengali, DejaVu Sans", 40, 70};
// Thai in Noto Sans Thai: it sets a tone mark above an upper vowel where it is seen
// (Noto Looped Thai's mark positioning fails there in this shaping stack and hides the
// tone mark in the vowel). Such a stack reaches past the em, so small text is a little
// smaller to keep it in the piece.
const GenScript THAI = {"Thai", "Noto Sans Thai, DejaVu Sans", 37, 70};
const GenScript KOREAN = {"Korean", "Noto Sans CJK KR, DejaVu Sans", 38, 68};
const GenScript JAPANESE = {"Japanese", "Noto Sans CJK JP, DejaVu Sans", 38, 68};
const GenScript CHINESE = {"Chinese", "Noto Sans CJK SC, DejaVu Sans", 38, 68};

// Title faces: a rounded bold face where the script has one (Comfortaa for Latin and
// Greek, NanumSquareRound for Hangul and Cyrillic, whose Comfortaa "т" has the shape of
// an "m", Lemonada for Arabic and Persian, Motoya L Maru for Japanese); elsewhere the
// script's heavy Noto face, whose corners the swell rounds. Urdu is written in the same
// Naskh as its interface text: Nastaliq's sloping word came out small beside the other
// titles. Thin rounded faces swell most; the swell of scripts with marks close to their
// letters (Thai, Devanagari, Bengali) and of dense Chinese characters stays small so
// that marks and strokes stay apart.
const GenTitleFace TITLE_ROUND = {"Comfortaa", PANGO_WEIGHT_BOLD, 0.03, 0.06};
const GenTitleFace TITLE_ROUND_CYRILLIC = {"NanumSquareRound", PANGO_WEIGHT_ULTRABOLD, 0.02, 0.04};
const GenTitleFace TITLE_HEBREW = {"Noto Sans Hebrew", PANGO_WEIGHT_HEAVY, 0.03, 0.06};
const GenTitleFace TITLE_ARABIC = {"Lemonada", PANGO_WEIGHT_BOLD, 0.012, 0};
const GenTitleFace TITLE_URDU = {"Noto Naskh Arabic", PANGO_WEIGHT_BOLD, 0.015, 0};
const GenTitleFace TITLE_DEVANAGARI = {"Noto Sans Devanagari", PANGO_WEIGHT_HEAVY, 0.02, 0};
const GenTitleFace TITLE_BENGALI = {"Noto Sans Bengali", PANGO_WEIGHT_HEAVY, 0.02, 0};
const GenTitleFace TITLE_THAI = {"Noto Sans Thai", PANGO_WEIGHT_HEAVY, 0.02, 0.04};
const GenTitleFace TITLE_KOREAN = {"NanumSquareRound", PANGO_WEIGHT_ULTRABOLD, 0.02, 0.04};
const GenTitleFace TITLE_JAPANESE = {"MotoyaLMaru", PANGO_WEIGHT_NORMAL, 0.06, 0};
const GenTitleFace TITLE_CHINESE = {"Noto Sans CJK SC", PANGO_WEIGHT_BOLD, 0.015, 0.03};

}  // namespace

const GenLanguage gen_languages[GEN_LANGS] = {
    {"da", "da", false, strings_da, &LATIN, "Kestrune", &TITLE_ROUND},
    {"sv", "sv", false, strings_sv, &LATIN, "Kestrune", &TITLE_ROUND},
    {"nb", "nb", false, strings_nb, &LATIN, "Kestrune", &TITLE_ROUND},
    {"fi", "fi", false, strings_fi, &LATIN, "Kestrune", &TITLE_ROUND},
    {"is", "is", false, strings_is, &LATIN, "Kestrune", &TITLE_ROUND},
    {"en", "en", false, strings_en, &LATIN, "Kestrune", &TITLE_ROUND},
    {"de", "de", false, strings_de, &LATIN, "Kestrune", &TITLE_ROUND},
    {"nl", "nl", false, strings_nl, &LATIN, "Kestrune", &TITLE_ROUND},
    {"fr", "fr", false, strings_fr, &LATIN, "Kestrune", &TITLE_ROUND},
    {"it", "it", false, strings_it, &LATIN, "Kestrune", &TITLE_ROUND},
    {"es", "es", false, strings_es, &LATIN, "Kestrune", &TITLE_ROUND},
    {"pt", "pt", false, strings_pt, &LATIN, "Kestrune", &TITLE_ROUND},
    {"pt_BR", "pt-br", false, strings_pt_BR, &LATIN, "Kestrune", &TITLE_ROUND},
    {"pl", "pl", false, strings_pl, &LATIN, "Kestrune", &TITLE_ROUND},
    {"cs", "cs", false, strings_cs, &LATIN, "Kestrune", &TITLE_ROUND},
    {"hu", "hu", false, strings_hu, &LATIN, "Kestrune", &TITLE_ROUND},
    {"ro", "ro", false, strings_ro, &LATIN, "Kestrune", &TITLE_ROUND},
    {"el", "el", false, strings_el, &LATIN, "Κέστρουν", &TITLE_ROUND},
    {"tr", "tr", false, strings_tr, &LATIN, "Kestrune", &TITLE_ROUND},
    {"uk", "uk", false, strings_uk, &LATIN, "Кеструн", &TITLE_ROUND_CYRILLIC},
    {"he", "he", true, strings_he, &HEBREW, "קסטרון", &TITLE_HEBREW},
    {"ar", "ar", true, strings_ar, &ARABIC, "كسترون", &TITLE_ARABIC},
    {"fa", "fa", true, strings_fa, &ARABIC, "کسترون", &TITLE_ARABIC},
    {"ur", "ur", true, strings_ur, &URDU, "کسترون", &TITLE_URDU},
    {"hi", "hi", false, strings_hi, &DEVANAGARI, "केस्ट्रून", &TITLE_DEVANAGARI},
    {"bn", "bn", false, strings_bn, &BENGALI, "কেস্ট্রুন", &TITLE_BENGALI},
    {"th", "th", false, strings_th, &THAI, "เคสตรูน", &TITLE_THAI},
    {"vi", "vi", false, strings_vi, &VIETNAMESE, "Kestrune", &TITLE_ROUND},
    {"id", "id", false, strings_id, &LATIN, "Kestrune", &TITLE_ROUND},
    {"ko", "ko", false, strings_ko, &KOREAN, "케스트룬", &TITLE_KOREAN},
    {"ja", "ja", false, strings_ja, &JAPANESE, "ケストルーン", &TITLE_JAPANESE},
    {"zh", "zh-cn", false, strings_zh, &CHINESE, "凯斯特伦", &TITLE_CHINESE},
};

bool gen_slot_has_large(int slot) {
    switch (slot) {
    case 0: case 8: case 10: case 12: case 13: case 14: case 16: case 17: case 18: case 21: case 26: case 28:
        return true;
    default:
        return false;
    }
}
