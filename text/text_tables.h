// Kestrune: the generated text pictures and fragment tables of every language (private
// to text/). tools/gen_text writes them at build time: text_tables.cpp, the text atlases
// and the title pictures, embedded by data/text.cmake.
#pragma once
#include "data/data.h"
#include "text/text.h"

#define TEXT_LANGUAGE_TABLES(code)                      \
    extern const int16_t text_runs_##code[];             \
    extern const uint16_t text_run_offsets_##code[66];   \
    extern const AtlasPiece text_pieces_##code[];        \
    KESTRUNE_EMBEDDED(data_text_atlas_##code##_png)      \
    KESTRUNE_EMBEDDED(data_title_##code##_png)

TEXT_LANGUAGE_TABLES(da)
TEXT_LANGUAGE_TABLES(sv)
TEXT_LANGUAGE_TABLES(nb)
TEXT_LANGUAGE_TABLES(fi)
TEXT_LANGUAGE_TABLES(is)
TEXT_LANGUAGE_TABLES(en)
TEXT_LANGUAGE_TABLES(de)
TEXT_LANGUAGE_TABLES(nl)
TEXT_LANGUAGE_TABLES(fr)
TEXT_LANGUAGE_TABLES(it)
TEXT_LANGUAGE_TABLES(es)
TEXT_LANGUAGE_TABLES(pt)
TEXT_LANGUAGE_TABLES(pt_BR)
TEXT_LANGUAGE_TABLES(pl)
TEXT_LANGUAGE_TABLES(cs)
TEXT_LANGUAGE_TABLES(hu)
TEXT_LANGUAGE_TABLES(ro)
TEXT_LANGUAGE_TABLES(el)
TEXT_LANGUAGE_TABLES(tr)
TEXT_LANGUAGE_TABLES(uk)
TEXT_LANGUAGE_TABLES(he)
TEXT_LANGUAGE_TABLES(ar)
TEXT_LANGUAGE_TABLES(fa)
TEXT_LANGUAGE_TABLES(ur)
TEXT_LANGUAGE_TABLES(hi)
TEXT_LANGUAGE_TABLES(bn)
TEXT_LANGUAGE_TABLES(th)
TEXT_LANGUAGE_TABLES(vi)
TEXT_LANGUAGE_TABLES(id)
TEXT_LANGUAGE_TABLES(ko)
TEXT_LANGUAGE_TABLES(ja)
TEXT_LANGUAGE_TABLES(zh)
