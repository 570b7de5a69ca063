# The text pictures, drawn at build time by tools/gen_text from fixed font files:
# the two bitmap-font atlases and their glyph tables.
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
