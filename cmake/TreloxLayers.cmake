# Layers of the source tree: each folder under src/ builds only on the
# folders it names (docs/architecture.md draws them). The build checks the
# includes of every folder: a header of a folder it does not build on, a
# layer above it or a backend, or a path with "..", fails the build
# (CheckLayerIncludes.cmake).

set(TRELOX_LAYER_CHECK ${CMAKE_CURRENT_LIST_DIR}/CheckLayerIncludes.cmake)

# trelox_layer_folder(TARGET FOLDER): the folder under src/ whose headers go
# with TARGET, for a library that trelox_layer does not make.
function(trelox_layer_folder target folder)
  set_property(GLOBAL PROPERTY TRELOX_LAYER_FOLDER_${target} ${folder})
endfunction()

# trelox_layer_folders(VAR target...): the folders of the layers named.
function(trelox_layer_folders out)
  set(folders)
  foreach(used IN LISTS ARGN)
    get_property(used_folder GLOBAL PROPERTY TRELOX_LAYER_FOLDER_${used})
    if(NOT used_folder)
      message(FATAL_ERROR "Layer ${used} is used, but its folder is not known")
    endif()
    list(APPEND folders ${used_folder})
  endforeach()
  set(${out} ${folders} PARENT_SCOPE)
endfunction()

# trelox_check_includes(TARGET FOLDER [USES folder...] [GENERATED name...]):
# the includes of src/FOLDER are checked when TARGET is built. They may name
# headers of FOLDER itself, of the folders under USES (by their path from
# src/), and the headers the build generates under GENERATED (by name).
function(trelox_check_includes target folder)
  cmake_parse_arguments(PARSE_ARGV 2 CHECK "" "" "USES;GENERATED")
  set(allowed ${folder} ${CHECK_USES})
  set_property(GLOBAL PROPERTY TRELOX_INCLUDE_RULE_${folder} "${allowed}")
  set_property(GLOBAL APPEND PROPERTY TRELOX_CHECKED_FOLDERS ${folder})
  list(JOIN allowed "," allowed)
  list(JOIN CHECK_GENERATED "," generated)

  set(dir ${PROJECT_SOURCE_DIR}/src/${folder})
  file(GLOB files CONFIGURE_DEPENDS ${dir}/*.h ${dir}/*.cpp)
  string(REPLACE "/" "_" stamp_name ${folder})
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${stamp_name}.includes-checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DSOURCE_ROOT=${PROJECT_SOURCE_DIR}/src -DFOLDER=${folder} -DALLOWED=${allowed}
            -DGENERATED=${generated} -DSTAMP=${stamp} -P ${TRELOX_LAYER_CHECK}
    DEPENDS ${files} ${TRELOX_LAYER_CHECK}
    COMMENT "Checking the includes of src/${folder}/"
    VERBATIM)
  target_sources(${target} PRIVATE ${stamp})
endfunction()

# trelox_require_include_checks(): fails the configuration when a folder
# under src/ with sources has no include check, so that a new folder
# cannot escape the layering.
function(trelox_require_include_checks)
  get_property(checked GLOBAL PROPERTY TRELOX_CHECKED_FOLDERS)
  file(GLOB_RECURSE sources RELATIVE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/src/*.h
       ${PROJECT_SOURCE_DIR}/src/*.cpp)
  foreach(source IN LISTS sources)
    get_filename_component(folder ${source} DIRECTORY)
    if(NOT folder IN_LIST checked)
      message(FATAL_ERROR "src/${folder}/ has no include check: name what it builds on "
                          "(trelox_layer or trelox_check_includes, cmake/TreloxLayers.cmake)")
    endif()
  endforeach()
endfunction()

# trelox_layer(NAME FOLDER [USES target...] [INCLUDES folder...]
#              [LIBRARIES lib...]): the static library NAME of the .cpp files
# directly in src/FOLDER, linked with the layers it USES (made before it)
# and with other LIBRARIES. Its files may include headers of their own
# folder, of the folders of the layers it uses, and of the folders named
# under INCLUDES (headers only, no library).
function(trelox_layer name folder)
  cmake_parse_arguments(PARSE_ARGV 2 LAYER "" "" "USES;INCLUDES;LIBRARIES")
  trelox_glob(sources ${PROJECT_SOURCE_DIR}/src/${folder})
  trelox_add_library(${name} ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${LAYER_USES} ${LAYER_LIBRARIES} PRIVATE trelox_warnings)
  trelox_layer_folder(${name} ${folder})
  trelox_layer_folders(used_folders ${LAYER_USES})
  trelox_check_includes(${name} ${folder} USES ${used_folders} ${LAYER_INCLUDES})
endfunction()
