# Checks the includes of one folder under src/ (run by the build, see
# TreloxLayers.cmake): every quoted include names a header of the folder
# itself, by its name alone, of a folder it builds on, by its path from
# src/, or a header the build generates, by its name. Anything else (a
# layer above, a backend, a path with "..") fails the build with the file
# and the include named.
#
#   cmake -DSOURCE_ROOT=<src> -DFOLDER=<folder under src> -DALLOWED=<a,b,...>
#         [-DGENERATED=<name,...>] -DSTAMP=<file touched when all is well>
#         -P CheckLayerIncludes.cmake
cmake_minimum_required(VERSION 3.20)

foreach(var SOURCE_ROOT FOLDER ALLOWED STAMP)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CheckLayerIncludes: ${var} is not given")
  endif()
endforeach()
string(REPLACE "," ";" allowed "${ALLOWED}")
string(REPLACE "," ";" generated "${GENERATED}")

file(GLOB files ${SOURCE_ROOT}/${FOLDER}/*.h ${SOURCE_ROOT}/${FOLDER}/*.cpp)
set(faults "")
foreach(file IN LISTS files)
  get_filename_component(name ${file} NAME)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" included "${line}")
    get_filename_component(folder "${included}" DIRECTORY)
    if(included MATCHES "(^|/)\\.\\.?/")
      set(fault "a path relative to the file")
    elseif(folder STREQUAL "")
      if(EXISTS ${SOURCE_ROOT}/${FOLDER}/${included} OR included IN_LIST generated)
        continue()
      endif()
      set(fault "no header of its own folder")
    elseif(folder IN_LIST allowed)
      continue()
    else()
      set(fault "from ${folder}/, which ${FOLDER}/ does not build on")
    endif()
    string(APPEND faults "\n  ${FOLDER}/${name}: includes ${included}: ${fault}")
  endforeach()
endforeach()

if(NOT faults STREQUAL "")
  string(REPLACE ";" ", " uses "${allowed}")
  message(FATAL_ERROR "Includes across the layers:${faults}\n"
                      "${FOLDER}/ may include the headers of: ${uses} (the CMakeLists.txt that checks it)")
endif()
file(TOUCH ${STAMP})
