# The game's pictures: the sprite atlas, the hero portrait, the title logo and the fifteen
# level backgrounds, drawn at build time by tools/gen_pictures and embedded here. The
# generator also writes review sheets (never embedded) into review/ beside them.
set(KESTRUNE_PICTURE_DIR ${CMAKE_CURRENT_BINARY_DIR}/pictures)
set(KESTRUNE_PICTURE_REVIEW_DIR ${CMAKE_CURRENT_BINARY_DIR}/pictures/review)

set(picture_outputs
  ${KESTRUNE_PICTURE_DIR}/sprite_atlas.png
  ${KESTRUNE_PICTURE_DIR}/hero_portrait.png
  ${KESTRUNE_PICTURE_DIR}/title_logo.png)
foreach(i RANGE 0 14)
  string(LENGTH "${i}" len)
  if(len EQUAL 1)
    set(i "0${i}")
  endif()
  list(APPEND picture_outputs ${KESTRUNE_PICTURE_DIR}/background_${i}.jpg)
endforeach()

add_custom_command(
  OUTPUT ${picture_outputs}
  COMMAND gen_pictures ${KESTRUNE_PICTURE_DIR} ${KESTRUNE_PICTURE_REVIEW_DIR}
  DEPENDS gen_pictures
  COMMENT "Drawing the game's pictures"
  VERBATIM)

kestrune_embed(data_sprite_atlas_png ${KESTRUNE_PICTURE_DIR}/sprite_atlas.png)
kestrune_embed(data_hero_portrait_png ${KESTRUNE_PICTURE_DIR}/hero_portrait.png)
kestrune_embed(data_title_logo_png ${KESTRUNE_PICTURE_DIR}/title_logo.png)
foreach(i RANGE 0 14)
  string(LENGTH "${i}" len)
  if(len EQUAL 1)
    set(i "0${i}")
  endif()
  kestrune_embed(data_background_${i}_jpg ${KESTRUNE_PICTURE_DIR}/background_${i}.jpg)
endforeach()
# Listed among the data library's sources so the generator runs whenever the library is built.
set_property(GLOBAL APPEND PROPERTY KESTRUNE_DATA_SOURCES ${picture_outputs})
