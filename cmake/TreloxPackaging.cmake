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
# Texts with quotes reach CPack as they are written.
set(CPACK_VERBATIM_VARIABLES ON)

if(WIN32)
  set(CPACK_GENERATOR NSIS ZIP)
  # The packages take Trelox.exe as the build linked it, stripped once there
  # (src/CMakeLists.txt): one program, byte for byte, in the setup program,
  # the zip and the build.
  set(CPACK_STRIP_FILES OFF)
  # The setup program's script is our own (dist/windows/nsis): CPack finds
  # its NSIS.template.in there before its own. It reads the values below and
  # those of CPackProjectConfig.cmake.in.
  list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/dist/windows/nsis)
  set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/ui/res/Trelox.ico)
  set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/src/ui/res/Trelox.ico)
  # The setup's own picture beside its first and last page, made from the
  # program's icon in place of the install system's generic one.
  set(TRELOX_WIZARD_BITMAP ${TRELOX_GENERATED}/setup/wizard.bmp)
  find_program(TRELOX_CONVERT convert REQUIRED)
  add_custom_command(OUTPUT ${TRELOX_WIZARD_BITMAP}
                     COMMAND ${TRELOX_CONVERT} -size 164x314 "gradient:#F4F7FB-#BFD3EA"
                             ( ${CPACK_NSIS_MUI_ICON}[0] -scale 300% ) -gravity north -geometry +0+56 -composite
                             -alpha off -type TrueColor BMP3:${TRELOX_WIZARD_BITMAP}
                     DEPENDS ${CPACK_NSIS_MUI_ICON} VERBATIM)
  add_custom_target(trelox_setup_pictures ALL DEPENDS ${TRELOX_WIZARD_BITMAP})
  # A licence page only when the project has licence terms to show.
  set(TRELOX_LICENSE_FILE ${PROJECT_SOURCE_DIR}/LICENSE.txt)
  if(NOT EXISTS ${TRELOX_LICENSE_FILE})
    set(TRELOX_LICENSE_FILE "")
  endif()
else()
  set(CPACK_GENERATOR DEB)
  # Debian wants the programs without their debugging sections.
  set(CPACK_STRIP_FILES ON)
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

# Each generator names its file and the setup program finds its
# parts (CPackProjectConfig.cmake.in).
configure_file(${CMAKE_CURRENT_LIST_DIR}/CPackProjectConfig.cmake.in ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake
               @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake)
include(CPack)
