# kestrune_embed(SYMBOL FILE): puts the bytes of FILE into read-only data as
#   extern "C" const unsigned char SYMBOL[];        the bytes
#   extern "C" const uint32_t      SYMBOL_size;     their count, stored right after them
# through an assembler .incbin, which builds in no time even for megabytes.
function(kestrune_embed SYMBOL FILE)
  set(asm ${CMAKE_CURRENT_BINARY_DIR}/embed/${SYMBOL}.S)
  file(CONFIGURE OUTPUT ${asm} CONTENT "\
    .section .rodata.${SYMBOL},\"a\",@progbits
    .global ${SYMBOL}
    .type ${SYMBOL}, @object
    .balign 16
${SYMBOL}:
    .incbin \"${FILE}\"
${SYMBOL}_end:
    .size ${SYMBOL}, ${SYMBOL}_end - ${SYMBOL}
    .global ${SYMBOL}_size
    .type ${SYMBOL}_size, @object
    .balign 4
${SYMBOL}_size:
    .long ${SYMBOL}_end - ${SYMBOL}
    .size ${SYMBOL}_size, 4
    .section .note.GNU-stack,\"\",@progbits
" @ONLY)
  set_source_files_properties(${asm} PROPERTIES OBJECT_DEPENDS ${FILE} GENERATED TRUE)
  set_property(GLOBAL APPEND PROPERTY KESTRUNE_EMBED_SOURCES ${asm})
  set_property(GLOBAL APPEND PROPERTY KESTRUNE_EMBEDDED_SYMBOLS ${SYMBOL})
endfunction()
