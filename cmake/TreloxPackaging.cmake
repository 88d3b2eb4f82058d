# The release files, made by CPack from the install rules: on Linux the
# Debian package.
set(CPACK_PACKAGE_NAME trelox)
set(CPACK_PACKAGE_VENDOR "Trelox-Entwicklerteam")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Trelox-Entwicklerteam <trelox@example.org>" CACHE STRING
    "Who answers for the packages: the Debian Maintainer field")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "service tool that programs firmware into the test system's USB device")
set(CPACK_STRIP_FILES ON)
# Texts with quotes reach CPack as they are written.
set(CPACK_VERBATIM_VARIABLES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Read here rather than named as the description file, which CPack would
# escape for XML; CPack puts the summary in front.
file(READ ${PROJECT_SOURCE_DIR}/dist/debian/description CPACK_DEBIAN_PACKAGE_DESCRIPTION)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
