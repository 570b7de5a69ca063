// Kestrune: the 32 language records, in table order. The index of a record is the
// language's identity everywhere in the game.
#include "text/lang_strings.h"
#include "text/text_tables.h"

// The text atlas, the title picture and the fragment tables come from the text-picture
// generator (tools/gen_text, run by data/text.cmake).
#define TEXT_ATLAS(code) data_text_atlas_##code##_png, data_text_atlas_##code##_png_size
#define TITLE(code) data_title_##code##_png, data_title_##code##_png_size
#define TEXT_TABLES(code) text_runs_##code, text_run_offsets_##code, text_pieces_##code

const LanguageRecord lang_records[LANG_COUNT] = {
    {"da", 0, TEXT_ATLAS(da), TITLE(da), TEXT_TABLES(da), lang_strings_da},
    {"sv", 0, TEXT_ATLAS(sv), TITLE(sv), TEXT_TABLES(sv), lang_strings_sv},
    {"nb", 0, TEXT_ATLAS(nb), TITLE(nb), TEXT_TABLES(nb), lang_strings_nb},
    {"fi", 0, TEXT_ATLAS(fi), TITLE(fi), TEXT_TABLES(fi), lang_strings_fi},
    {"is", 0, TEXT_ATLAS(is), TITLE(is), TEXT_TABLES(is), lang_strings_is},
    {"en", 0, TEXT_ATLAS(en), TITLE(en), TEXT_TABLES(en), lang_strings_en},
    {"de", 0, TEXT_ATLAS(de), TITLE(de), TEXT_TABLES(de), lang_strings_de},
    {"nl", 0, TEXT_ATLAS(nl), TITLE(nl), TEXT_TABLES(nl), lang_strings_nl},
    {"fr", 0, TEXT_ATLAS(fr), TITLE(fr), TEXT_TABLES(fr), lang_strings_fr},
    {"it", 0, TEXT_ATLAS(it), TITLE(it), TEXT_TABLES(it), lang_strings_it},
    {"es", 0, TEXT_ATLAS(es), TITLE(es), TEXT_TABLES(es), lang_strings_es},
    {"pt", 0, TEXT_ATLAS(pt), TITLE(pt), TEXT_TABLES(pt), lang_strings_pt},
    {"pt_BR", 0, TEXT_ATLAS(pt_BR), TITLE(pt_BR), TEXT_TABLES(pt_BR), lang_strings_pt_BR},
    {"pl", 0, TEXT_ATLAS(pl), TITLE(pl), TEXT_TABLES(pl), lang_strings_pl},
    {"cs", 0, TEXT_ATLAS(cs), TITLE(cs), TEXT_TABLES(cs), lang_strings_cs},
    {"hu", 0, TEXT_ATLAS(hu), TITLE(hu), TEXT_TABLES(hu), lang_strings_hu},
    {"ro", 0, TEXT_ATLAS(ro), TITLE(ro), TEXT_TABLES(ro), lang_strings_ro},
    {"el", 0, TEXT_ATLAS(el), TITLE(el), TEXT_TABLES(el), lang_strings_el},
    {"tr", 0, TEXT_ATLAS(tr), TITLE(tr), TEXT_TABLES(tr), lang_strings_tr},
    {"uk", 0, TEXT_ATLAS(uk), TITLE(uk), TEXT_TABLES(uk), lang_strings_uk},
    {"he", 1, TEXT_ATLAS(he), TITLE(he), TEXT_TABLES(he), lang_strings_he},
    {"ar", 1, TEXT_ATLAS(ar), TITLE(ar), TEXT_TABLES(ar), lang_strings_ar},
    {"fa", 1, TEXT_ATLAS(fa), TITLE(fa), TEXT_TABLES(fa), lang_strings_fa},
    {"ur", 1, TEXT_ATLAS(ur), TITLE(ur), TEXT_TABLES(ur), lang_strings_ur},
    {"hi", 0, TEXT_ATLAS(hi), TITLE(hi), TEXT_TABLES(hi), lang_strings_hi},
    {"bn", 0, TEXT_ATLAS(bn), TITLE(bn), TEXT_TABLES(bn), lang_strings_bn},
    {"th", 0, TEXT_ATLAS(th), TITLE(th), TEXT_TABLES(th), lang_strings_th},
    {"vi", 0, TEXT_ATLAS(vi), TITLE(vi), TEXT_TABLES(vi), lang_strings_vi},
    {"id", 0, TEXT_ATLAS(id), TITLE(id), TEXT_TABLES(id), lang_strings_id},
    {"ko", 0, TEXT_ATLAS(ko), TITLE(ko), TEXT_TABLES(ko), lang_strings_ko},
    {"ja", 0, TEXT_ATLAS(ja), TITLE(ja), TEXT_TABLES(ja), lang_strings_ja},
    {"zh", 0, TEXT_ATLAS(zh), TITLE(zh), TEXT_TABLES(zh), lang_strings_zh},
};
