# Layers of the source tree: one folder, one library, built only on the
# layers it names (docs/architecture.md draws them). The build checks each
# layer's includes: a header of a layer it does not build on, a layer above
# it or a backend, fails the build (CheckLayerIncludes.cmake).

set(TRELOX_LAYER_CHECK ${CMAKE_CURRENT_LIST_DIR}/CheckLayerIncludes.cmake)

# trelox_layer_folder(TARGET FOLDER): the folder under src/ whose headers go
# with TARGET, for a library that trelox_layer does not make.
function(trelox_layer_folder target folder)
  set_property(GLOBAL PROPERTY TRELOX_LAYER_FOLDER_${target} ${folder})
endfunction()

# trelox_layer(NAME FOLDER [USES target...] [INCLUDES folder...]
#              [LIBRARIES lib...]): the static library NAME of the .cpp files
# directly in src/FOLDER, linked with the layers it USES (made before it)
# and with other LIBRARIES. Its files may include headers of their own
# folder, of the folders of the layers it uses, and of the folders named
# under INCLUDES (headers only, no library).
function(trelox_layer name folder)
  cmake_parse_arguments(PARSE_ARGV 2 LAYER "" "" "USES;INCLUDES;LIBRARIES")
  set(dir ${PROJECT_SOURCE_DIR}/src/${folder})
  trelox_glob(sources ${dir})
  trelox_add_library(${name} ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${LAYER_USES} ${LAYER_LIBRARIES} PRIVATE trelox_warnings)
  trelox_layer_folder(${name} ${folder})

  set(allowed ${folder} ${LAYER_INCLUDES})
  foreach(used IN LISTS LAYER_USES)
    get_property(used_folder GLOBAL PROPERTY TRELOX_LAYER_FOLDER_${used})
    if(NOT used_folder)
      message(FATAL_ERROR "Layer ${name} uses ${used}, whose folder is not known")
    endif()
    list(APPEND allowed ${used_folder})
  endforeach()
  list(JOIN allowed "," allowed)

  file(GLOB files CONFIGURE_DEPENDS ${dir}/*.h ${dir}/*.cpp)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${name}.includes-checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DSOURCE_ROOT=${PROJECT_SOURCE_DIR}/src -DFOLDER=${folder} -DALLOWED=${allowed}
            -DSTAMP=${stamp} -P ${TRELOX_LAYER_CHECK}
    DEPENDS ${files} ${TRELOX_LAYER_CHECK}
    COMMENT "Checking the includes of src/${folder}/"
    VERBATIM)
  target_sources(${name} PRIVATE ${stamp})
endfunction()
