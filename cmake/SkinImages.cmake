# vantrel_skin_images(<target> <table> <out-dir>): draws the images a table
# lists into <out-dir> at build time (tools/skin_images/draw_skin_images.py),
# again whenever the table or the script changes.
function(vantrel_skin_images target table out_dir)
  set(script ${CMAKE_SOURCE_DIR}/tools/skin_images/draw_skin_images.py)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND python3 ${script} ${table} ${out_dir}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${table} ${script}
    COMMENT "Drawing images of ${table}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${stamp})
endfunction()
