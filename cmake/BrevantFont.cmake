# Provides brevant_glyph_table(OUT_DIR): generates OUT_DIR/glyph_table_data.inc
# (C initializer list of the 14,280-byte glyph table) and
# OUT_DIR/glyph_table.rc (the same bytes as resource 203 of type Binary) from
# resources/font.txt, behind the custom target glyph_table.

include_guard(GLOBAL)

function(brevant_glyph_table OUT_DIR)
  if(ARGC GREATER 1)
    message(FATAL_ERROR "brevant_glyph_table takes one argument, the output directory")
  endif()
  if(TARGET glyph_table)
    message(FATAL_ERROR "brevant_glyph_table: target glyph_table already exists")
  endif()
  # Relative to this file, so that any project including it finds the font.
  get_filename_component(font
    "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../resources/font.txt" ABSOLUTE)
  set(script "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/GlyphTable.cmake")
  get_filename_component(out_dir "${OUT_DIR}" ABSOLUTE
    BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  set(inc "${out_dir}/glyph_table_data.inc")
  set(rc "${out_dir}/glyph_table.rc")

  add_custom_command(
    OUTPUT "${inc}" "${rc}"
    COMMAND "${CMAKE_COMMAND}" "-DFONT=${font}" "-DOUT_INC=${inc}"
            "-DOUT_RC=${rc}" -P "${script}"
    DEPENDS "${font}" "${script}"
    COMMENT "Generating glyph table from font.txt"
    VERBATIM)
  add_custom_target(glyph_table DEPENDS "${inc}" "${rc}")
endfunction()
