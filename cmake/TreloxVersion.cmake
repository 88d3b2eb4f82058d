# The version header made from the project's version: the one number behind
# the resources' version block, the about box, the package names and --version.
configure_file(${CMAKE_CURRENT_LIST_DIR}/TreloxVersion.h.in ${PROJECT_BINARY_DIR}/generated/TreloxVersion.h @ONLY)
add_library(trelox_version INTERFACE)
target_include_directories(trelox_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
