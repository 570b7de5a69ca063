// Kestrune: the 32 language records, in table order. The index of a record is the
// language's identity everywhere in the game.
#include "text/lang_strings.h"

// The text atlases, title pictures and fragment tables come from the text-picture
// generator; until they are hooked up a record carries none and draws nothing.

const LanguageRecord lang_records[LANG_COUNT] = {
    {"da", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_da},
    {"sv", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_sv},
    {"nb", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_nb},
    {"fi", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_fi},
    {"is", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_is},
    {"en", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_en},
    {"de", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_de},
    {"nl", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_nl},
    {"fr", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_fr},
    {"it", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_it},
    {"es", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_es},
    {"pt", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_pt},
    {"pt_BR", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_pt_BR},
    {"pl", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_pl},
    {"cs", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_cs},
    {"hu", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_hu},
    {"ro", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_ro},
    {"el", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_el},
    {"tr", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_tr},
    {"uk", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_uk},
    {"he", 1, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_he},
    {"ar", 1, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_ar},
    {"fa", 1, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_fa},
    {"ur", 1, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_ur},
    {"hi", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_hi},
    {"bn", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_bn},
    {"th", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_th},
    {"vi", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_vi},
    {"id", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_id},
    {"ko", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_ko},
    {"ja", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_ja},
    {"zh", 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, lang_strings_zh},
};
