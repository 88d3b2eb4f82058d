# The release files, made by CPack from the install rules: on Linux the
# Debian package, on Windows the setup program and the zip.
set(CPACK_PACKAGE_NAME trelox)
set(CPACK_PACKAGE_VENDOR "Trelox-Entwicklerteam")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Trelox-Entwicklerteam <trelox@example.org>" CACHE STRING
    "Who answers for the packages: the Debian Maintainer field")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "service tool that programs firmware into the test system's USB device")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Trelox)
# One uninstall entry whatever the version, so that a newer setup program
# finds the one it replaces.
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Trelox)
set(CPACK_STRIP_FILES ON)
# Texts with quotes reach CPack as they are written.
set(CPACK_VERBATIM_VARIABLES ON)
# Each generator names its file (CPackProjectConfig.cmake.in).
configure_file(${CMAKE_CURRENT_LIST_DIR}/CPackProjectConfig.cmake.in ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake
               @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake)

if(WIN32)
  set(CPACK_GENERATOR NSIS ZIP)
  # A 64-bit setup program (it runs where Trelox.exe runs, and under the
  # 64-bit Wine of the tests), one start-menu folder whatever the version,
  # and the setup program's own version block with the program's version.
  set(CPACK_NSIS_DEFINES "  Target amd64-unicode
  !define MUI_STARTMENUPAGE_DEFAULTFOLDER Trelox
  VIProductVersion ${PROJECT_VERSION}.0
  VIFileVersion ${PROJECT_VERSION}.0
  VIAddVersionKey /LANG=0 ProductName Trelox
  VIAddVersionKey /LANG=0 ProductVersion ${PROJECT_VERSION}.0
  VIAddVersionKey /LANG=0 FileVersion ${PROJECT_VERSION}.0
  VIAddVersionKey /LANG=0 FileDescription \"Trelox ${PROJECT_VERSION} Setup\"
  VIAddVersionKey /LANG=0 CompanyName ${CPACK_PACKAGE_VENDOR}
  VIAddVersionKey /LANG=0 LegalCopyright \"Copyright © 2024-2025 ${CPACK_PACKAGE_VENDOR}\"")
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_NSIS_PACKAGE_NAME "Trelox ${PROJECT_VERSION}")
  set(CPACK_NSIS_DISPLAY_NAME "Trelox")
  set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/ui/res/Trelox.ico)
  set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/src/ui/res/Trelox.ico)
  set(CPACK_NSIS_INSTALLED_ICON_NAME Trelox.exe)
  set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
  set(CPACK_PACKAGE_EXECUTABLES Trelox Trelox)
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
  # The uninstaller removes the key it wrote under the vendor's name; its last
  # step with extra commands (after that) also removes the vendor's key once
  # it is empty, so that nothing is left behind.
  set(CPACK_NSIS_DELETE_ICONS_EXTRA "  DeleteRegKey /ifempty SHCTX \"Software\\${CPACK_PACKAGE_VENDOR}\"")
else()
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
  # The device table a technician edits: an upgrade asks before it replaces it.
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/dist/debian/conffiles)
endif()

include(CPack)
