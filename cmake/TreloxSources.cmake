# trelox_glob(VAR dir...): the .cpp files directly in each folder.
function(trelox_glob out)
  set(files)
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS "${dir}/*.cpp")
    list(APPEND files ${found})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# trelox_add_library(NAME sources...): a static library; a folder still
# without sources gets an empty translation unit so that the tree configures.
function(trelox_add_library name)
  if(ARGN)
    add_library(${name} STATIC ${ARGN})
  else()
    add_library(${name} STATIC ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
endfunction()
