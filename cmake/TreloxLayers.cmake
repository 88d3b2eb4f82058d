# Layers of the source tree: one folder, one library, built only on the
# layers it names (docs/architecture.md draws them).
#
# trelox_layer(NAME FOLDER [USES target...] [LIBRARIES lib...]): the static
# library NAME of the .cpp files directly in src/FOLDER, linked with the
# layer targets it USES and with other LIBRARIES.
function(trelox_layer name folder)
  cmake_parse_arguments(PARSE_ARGV 2 LAYER "" "" "USES;LIBRARIES")
  trelox_glob(sources ${PROJECT_SOURCE_DIR}/src/${folder})
  trelox_add_library(${name} ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${LAYER_USES} ${LAYER_LIBRARIES} PRIVATE trelox_warnings)
endfunction()
