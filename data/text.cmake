# The text pictures, drawn at build time by tools/gen_text from fixed font files:
# the two bitmap-font atlases and their glyph tables, the languages' text atlases with
# their fragment tables, and the languages' title pictures.
set(TEXT_OUT ${CMAKE_CURRENT_BINARY_DIR}/text)
file(MAKE_DIRECTORY ${TEXT_OUT})

# The font files, as the generator lists them; a missing one stops the build here.
file(STRINGS ${PROJECT_SOURCE_DIR}/tools/gen_text/gen_fonts.inc font_lines REGEX "^GEN_FONT")
set(TEXT_FONT_FILES)
foreach(line ${font_lines})
  if(NOT line MATCHES "\"([^\"]+)\", \"([^\"]+)\"")
    message(FATAL_ERROR "tools/gen_text/gen_fonts.inc: cannot read the line: ${line}")
  endif()
  if(NOT EXISTS ${CMAKE_MATCH_1})
    message(FATAL_ERROR "The font file ${CMAKE_MATCH_1} is missing: install the Debian package ${CMAKE_MATCH_2} (tools/setup.sh).")
  endif()
  list(APPEND TEXT_FONT_FILES ${CMAKE_MATCH_1})
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/gen_text/gen_fonts.inc)

# The generated tables include the game's headers, which include SDL's.
set(TEXT_TABLE_INCLUDES "$<TARGET_PROPERTY:SDL2::SDL2,INTERFACE_INCLUDE_DIRECTORIES>")

add_custom_command(
  OUTPUT ${TEXT_OUT}/font_small.png ${TEXT_OUT}/font_large.png ${TEXT_OUT}/gfx_font_tables.cpp
         ${TEXT_OUT}/font_metrics.txt
  COMMAND gen_text font ${TEXT_OUT}
  DEPENDS gen_text ${TEXT_FONT_FILES}
  COMMENT "Drawing the bitmap font"
  VERBATIM)
kestrune_embed(data_font_small_png ${TEXT_OUT}/font_small.png)
kestrune_embed(data_font_large_png ${TEXT_OUT}/font_large.png)
set_source_files_properties(${TEXT_OUT}/gfx_font_tables.cpp PROPERTIES
  GENERATED TRUE INCLUDE_DIRECTORIES "${TEXT_TABLE_INCLUDES}")
set_property(GLOBAL APPEND PROPERTY KESTRUNE_DATA_SOURCES ${TEXT_OUT}/gfx_font_tables.cpp)

# The text atlases of the 32 languages, their fragment tables and the review sheets
# (review/text_<code>.png, not embedded), from the string files the game includes too.
set(TEXT_LANGS da sv nb fi is en de nl fr it es pt pt_BR pl cs hu ro el tr uk he ar fa ur hi bn th vi id ko ja zh)
file(GLOB TEXT_STRING_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/text/strings/*.inc)
set(text_atlases)
set(text_sheets)
foreach(code ${TEXT_LANGS})
  list(APPEND text_atlases ${TEXT_OUT}/text_atlas_${code}.png)
  list(APPEND text_sheets ${TEXT_OUT}/review/text_${code}.png)
endforeach()
add_custom_command(
  OUTPUT ${text_atlases} ${TEXT_OUT}/text_tables.cpp
  BYPRODUCTS ${text_sheets}
  COMMAND gen_text texts ${TEXT_OUT} ${TEXT_OUT}
  DEPENDS gen_text ${TEXT_FONT_FILES} ${TEXT_STRING_FILES}
          ${TEXT_OUT}/font_small.png ${TEXT_OUT}/font_large.png ${TEXT_OUT}/font_metrics.txt
  COMMENT "Drawing the text atlases of 32 languages"
  VERBATIM)
foreach(code ${TEXT_LANGS})
  kestrune_embed(data_text_atlas_${code}_png ${TEXT_OUT}/text_atlas_${code}.png)
endforeach()
set_source_files_properties(${TEXT_OUT}/text_tables.cpp PROPERTIES
  GENERATED TRUE INCLUDE_DIRECTORIES "${TEXT_TABLE_INCLUDES}")
set_property(GLOBAL APPEND PROPERTY KESTRUNE_DATA_SOURCES ${TEXT_OUT}/text_tables.cpp)

# The title pictures of the 32 languages and their review sheet (review/titles.png).
set(title_pictures)
foreach(code ${TEXT_LANGS})
  list(APPEND title_pictures ${TEXT_OUT}/title_${code}.png)
endforeach()
add_custom_command(
  OUTPUT ${title_pictures}
  BYPRODUCTS ${TEXT_OUT}/review/titles.png
  COMMAND gen_text titles ${TEXT_OUT}
  DEPENDS gen_text ${TEXT_FONT_FILES}
  COMMENT "Drawing the title pictures of 32 languages"
  VERBATIM)
foreach(code ${TEXT_LANGS})
  kestrune_embed(data_title_${code}_png ${TEXT_OUT}/title_${code}.png)
endforeach()
